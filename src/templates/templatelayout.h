// What a template must look like for the substitution engine, checked on the
// template's bytes: used by the tests of the carried templates, and useful
// to tell a clerk's damaged template from a sound one.
//
//     const QByteArray rtf = ResourceData("Anexa4", kResourceTemplate);
//     EXPECT_EQ(TemplateLayoutProblem(rtf), QString());
//     for (const QString &marker : TemplateMarkers(rtf)) ...
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Empty when `rtf` is a template the engine works on as intended: it begins
// with "{\rtf", its braces balance (escaped braces aside), a line holds
// "\pard", the body starting there closes the document on the file's last
// line that is not blank, and that line ends with the closing "}".
// Otherwise a short description of the first problem found.
QString TemplateLayoutProblem(const QByteArray &rtf);

// The markers written whole on one body line (after the header), such as
// "[JUDET]" or "[Pree1]", in order of first appearance and each once: a
// bracketed word of letters, digits and "_" as the template spells it.
QStringList TemplateMarkers(const QByteArray &rtf);
