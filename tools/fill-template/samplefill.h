// Fills the carried templates with sample values through the document engine,
// so that a person (scripts/render-templates.sh) or a test can read every
// template as a finished document.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace samplefill {

// One row of resources/templates/markers.tsv.
struct TemplateEntry {
    QString resource;
    QString file;   // name in the data folder, "-" when the program keeps it to itself
    QString role;   // "document", "formular" or "fragment"
    QStringList markers;
};

// The rows of markers.tsv in `folder`; empty when it cannot be read.
QList<TemplateEntry> readMarkerTable(const QString &folder);

// How many of each repeated thing the sample documents show.
struct Sample {
    int applicants = 4;           // forms for several applicants
    int sellers = 3;              // request-and-offer forms
    QStringList firstRankHolders; // list of holders: the holders of rank I
    QStringList expiredFiles;     // expired-terms report: one line each
};

using ValueFor = std::function<QString(const QString &marker)>;

// Realistic values for every marker the templates hold, for people to read.
QString readableValue(const QString &marker);

// The request-and-offer form with the block of each extra seller put where
// "[ALTVANZATOR]" stands, numbered 2 .. sellers (the block's "1]" become "<n>]").
QByteArray withExtraSellers(const QByteArray &form, const QByteArray &block, int sellers);

// The list of holders with the table row of rank 1 repeated once per name,
// numbered "1.", "2.", ...; the row is cut as the register cuts it.
QByteArray withRankOneHolders(const QByteArray &list, const QStringList &names, const QStringList &addresses);

// Fills template `entry` from `folder` into `dest`: every marker once with
// values(marker), and the repeated places as `sample` says. False when the
// engine produced nothing.
bool fillTemplate(const QString &folder, const TemplateEntry &entry, const QString &dest,
                  const ValueFor &values, const Sample &sample);

} // namespace samplefill
