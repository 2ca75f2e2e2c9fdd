#ifndef TARVEL_SETTINGSFILE_H
#define TARVEL_SETTINGSFILE_H

// Where the user interface keeps its state (window geometry, recent
// projects): "settings.ini" beside the program. A program installed where
// it cannot write keeps it in the user's configuration folder instead, and
// says so once in the log, rather than losing every setting in silence.

#include <QString>

class SettingsFile
{
public:
    static QString path();
    // The file beside the program, whether or not it can be written.
    static QString besideProgram();
};

#endif
