#pragma once

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The five windows, created once at start-up in this order and alive until the program ends:
// the main window, the Top 10, the name entry, the rules and the about window.
extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TForm4* Form4;
extern TForm5* Form5;
