#ifndef TARVEL_EXTRADATA_H
#define TARVEL_EXTRADATA_H

#include <QString>

// A named text a scheme carries: the input files' texts, and the project's
// own data (output, profiles, settings).
struct ExtraData
{
    // Bits, numbered from 1.
    enum Flag { Visible = 1, Editable = 2 };

    QString name;
    QString detail;
    QString fileName;
    QString text;
    quint16 flags = 0;

    // Bit n on or off; n = 0 does nothing.
    void setFlag(int n, bool on)
    {
        if (n <= 0 || n > 16)
            return;
        const quint16 mask = quint16(1u << (n - 1));
        flags = on ? quint16(flags | mask) : quint16(flags & ~mask);
    }
    // Whether bit n is set; n = 0 asks whether no bit is set.
    bool testFlag(int n) const
    {
        if (n == 0)
            return flags == 0;
        if (n < 0 || n > 16)
            return false;
        return (flags & (1u << (n - 1))) != 0;
    }
};

#endif
