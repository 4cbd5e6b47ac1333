// The register of sale offers as a spreadsheet, for a period, in its two
// layouts: "Format 1" from the template "Registru" (one row for every request,
// communication, offer and act registered in the period) and "Format 2" from
// "RegisXXL" (one row for every request).
//
//     RegisterExport job;
//     job.format = 1;
//     job.from = QDate(2024, 1, 1);
//     job.to = QDate(2024, 12, 31);
//     job.output = "/tmp/registru.xls";
//     QString error;
//     if (!WriteRegisterSpreadsheet(job, prompter, &error))
//         prompter.Mesaj("Eroare", error, ButtonOk, KindError);
//
// The rows come from the tables and settings of the session's data folder;
// the working table and the template copy are scratch files of the program
// folder (TempFileName "Rap"), removed at the end whatever happened.
#pragma once

#include <QDate>
#include <QString>

class Prompter;

// Texts of the layouts.
inline constexpr const char *kRegisterTitle = "Registru de Evidenta";
inline constexpr const char *kRegisterProgress = "Creez Registrul ...";

struct RegisterExport {
    // 1 or 2.
    int format = 1;
    // The period, both days included.
    QDate from;
    QDate to;
    // Where the workbook is written.
    QString output;
    // A workbook that follows the template contract, used instead of the
    // program's own template of the layout; empty for the program's own.
    QString templatePath;
};

// Writes the register of the period into job.output. Shows the progress
// window ("Creez Registrul ...") through `prompter` while it works. Returns
// false, with the reason in the clerk's words in `error` and no workbook
// written, when the template cannot be written out, opened or lacks its
// "#DBF" row, when a table cannot be read, or when the workbook cannot be
// saved.
bool WriteRegisterSpreadsheet(const RegisterExport &job, Prompter &prompter, QString *error);

// The menu entry "Format 1" / "Format 2": writes the register of the period to
// TempFileName ("Tmp", ".xls") and opens it with the spreadsheet program.
// Returns the path written; empty, with the reason in `error`, on failure.
QString ProduceRegisterSpreadsheet(int format, const QDate &from, const QDate &to, Prompter &prompter,
                                   QString *error);
