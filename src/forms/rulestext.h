#pragma once

#include <array>

// The rules of the quiz as the rules window shows them, one entry per line.
inline constexpr std::array<const char*, 27> kRulesLines = {
    "OSNOVNA PRAVILA",
    "",
    "Cilj igre je sakupiti sto vise IQ poena i (eventualno) se plasirati na Top10 tabelu.",
    "Za svako pitanje dobijate 4 ponudjena odgovora od kojih je samo jedan tacan,",
    "i na koje ne smete netacno odgovoriti ukoliko zelite da predjete na naredno.",
    "Ukupno mozete imati 20 pitanja, s tim sto su pitanja sve teza sto se dalje prolazi.",
    "",
    "POMOC",
    "",
    "Ukoliko niste sigurni koji je tacan odgovor i ne zelite previse rizikovati,",
    "na raspolaganju su vam 4 vrste pomoci:",
    "JOKER - automatski vas prebacuje na naredno pitanje",
    "EXTRA POMOC - uklanja vam 2 netacna odgovora, cime olaksava izbor",
    "MINI POMOC - uklanja samo jedan netacan odgovor",
    "",
    "Svaku od ovih pomoci mozete iskoristiti po jednom",
    "",
    "BODOVANJE",
    "",
    "Startujete od 20 IQ poena, s tim sto dobijate dodatne poene za svako tacno ",
    "odgovoreno pitanje.",
    "Kako idu sve teza pitanja, dobija se i sve vise poena.",
    "Poneki IQ poen mozete i izgubiti koriscenjem pomoci, naravno ukoliko koristite ",
    "npr. dzokera pa jos na najlaksim",
    "(pocetnim) pitanjima gubite najvise poena, dok se kasnije i to smanjuje, dok na ",
    "najtezim pitanjima mini i extra pomoc",
    "ne oduzimaju poene dok dzoker to cini minimalno.",
};
