#pragma once

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// The five windows, created once at start-up in this order and alive until the program ends:
// the main window, the Top 10, the name entry, the rules and the about window. Each window sets
// its own pointer as it is built and clears it as it goes; nothing else sets them.
inline TForm1* Form1 = nullptr;
inline TForm2* Form2 = nullptr;
inline TForm3* Form3 = nullptr;
inline TForm4* Form4 = nullptr;
inline TForm5* Form5 = nullptr;

// Points a window's global pointer at the window for as long as the window lives; every window
// holds one.
template <typename Form> class FormPointer {
public:
    FormPointer(Form*& global, Form* form) : m_global(global), m_form(form) { global = form; }
    ~FormPointer()
    {
        if (m_global == m_form)
            m_global = nullptr;
    }
    FormPointer(const FormPointer&) = delete;
    FormPointer& operator=(const FormPointer&) = delete;

private:
    Form*& m_global;
    Form* m_form;
};
