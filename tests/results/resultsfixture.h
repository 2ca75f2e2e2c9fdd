#ifndef TARVEL_TESTS_RESULTSFIXTURE_H
#define TARVEL_TESTS_RESULTSFIXTURE_H

// A project over the built-in catalogue with output data of our choosing,
// fed through the project's own reader as the data file would be, and a
// computation text with one profile block per time step.

#include "translation.h"
#include "require.h"
#include "options.h"
#include "project.h"

#include <QBuffer>
#include <QList>
#include <QSignalBlocker>
#include <QStringList>
#include <QtTest>

#include <memory>

class ResultsFixture
{
public:
    static constexpr int kWidth = 18; // the catalogue's field size

    ResultsFixture()
    {
        static bool loaded = false;
        if (!loaded) {
            if (!Translation::instance().load(QStringLiteral(":/translate.xml")))
                qFatal("the built-in translation document cannot be read");
            loaded = true;
        }
        catalogue = std::make_unique<Options>();
        if (!catalogue->loadBuiltIn())
            qFatal("the built-in option structure cannot be read");
        if (catalogue->fieldsize() != kWidth || catalogue->timefield() != QLatin1String("t(s)"))
            qFatal("the built-in catalogue no longer has 18-byte fields under a \"t(s)\" column");
        project = std::make_unique<Project>(catalogue.get());
    }

    // The text of a data file: the headings, then one line per row, each
    // cell right-aligned in 18 bytes, each line ended by a line feed, as the
    // real code writes them.
    static QByteArray dataText(const QStringList& names, const QList<QList<float>>& rows)
    {
        QByteArray text;
        for (const QString& name : names)
            text += name.toLatin1().rightJustified(kWidth, ' ');
        text += '\n';
        for (const QList<float>& row : rows) {
            for (float value : row)
                text += QByteArray::number(double(value), 'g', 7).rightJustified(kWidth, ' ');
            text += '\n';
        }
        return text;
    }

    // Rows of `steps` time steps: t(s) = 0.1 x step, then field f = 100 f + step.
    static QList<QList<float>> rows(int steps, int fields)
    {
        QList<QList<float>> result;
        for (int t = 0; t < steps; ++t) {
            QList<float> row{0.1f * float(t)};
            for (int f = 1; f < fields; ++f)
                row.append(float(100 * f + t));
            result.append(row);
        }
        return result;
    }

    static QStringList names(int fields)
    {
        QStringList result{QStringLiteral("t(s)")};
        for (int f = 1; f < fields; ++f)
            result.append(QStringLiteral("F%1").arg(f));
        return result;
    }

    // Replaces the output data in one go, without the empty state between
    // (as a load or a new run goes through it), then announces it.
    void setData(const QStringList& headings, const QList<QList<float>>& lines, bool announce = true)
    {
        {
            const QSignalBlocker quiet(project.get());
            project->clear();
        }
        read(dataText(headings, lines));
        if (announce)
            emit project->outDataUpdated();
    }

    void setSteps(int steps, int fields = 3) { setData(names(fields), rows(steps, fields)); }

    // Reads on from where the last read stopped: the rows appended to `all`.
    void read(const QByteArray& all)
    {
        QBuffer buffer;
        buffer.setData(all);
        if (!buffer.open(QIODevice::ReadOnly))
            qFatal("cannot open a QBuffer");
        project->_readOutData(buffer, true);
    }

    // A computation text with a profile block for each of `steps` steps.
    void addComputation(int steps)
    {
        QString text = QStringLiteral(" HEADER\n");
        for (int t = 0; t < steps; ++t)
            text += QStringLiteral(">DATA %1\n TIME (S)  %2E-01     1.000E-03\n T  1500.0\n<\n").arg(t).arg(t);
        if (!project->addExtra(QStringLiteral("COMPUT_DATA"), text))
            require(project->setExtraData(QStringLiteral("COMPUT_DATA"), text), "setExtraData");
    }

    std::unique_ptr<Options> catalogue;
    std::unique_ptr<Project> project;
};

#endif
