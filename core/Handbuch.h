#pragma once

#include <QString>

// Where the user finds help: the manual page and the README that come with
// the program. The project has no address of its own to send anyone to.
class Handbuch
{
public:
    // The manual page as the about box opens it.
    static QString Adresse();
    // The README of an installed program (share/doc/rufmon beside its
    // folder); empty where there is none, as in a build tree.
    static QString Readme();
    // One sentence for the messages that send the user to help.
    static QString Hinweis();
};
