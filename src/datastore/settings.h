// The program's three settings files and their readers and writers.
//
//   settings file          data folder / "Arv2.set"    one database (shared by
//                                                     the workstations of a server folder)
//   machine settings file  system folder / "GMT.dII"   one computer, section "99"
//   workstation settings   program folder / "Local.set" one installation
//
// Every call opens the file, reads or writes one key and closes it, so a
// value written by one workstation is seen by the next read on any other.
// The folders come from session(); existing files are found without regard
// to case ("ARV2.SET" copied from a Windows server is the same file).
//
// Reads never fail: a missing file, section or key, or a file that cannot be
// read, gives empty text (or 0 for numbers). Writes throw SettingsError with
// the file's name and the system's reason when the file cannot be written;
// the file is then left as it was.
//
// The counters of section "INDEX" are reached through counters.h only.
#pragma once

#include "datastore/profilefile.h"

#include <QByteArray>
#include <QString>

// Full paths of the three files, in the spelling found on disk.
QString SettingsFilePath();
QString MachineSettingsFilePath();
QString WorkstationSettingsFilePath();

// The settings file of the current data folder ("Arv2.set").
QString ReadSetting(const QString &section, const QString &key);
void WriteSetting(const QString &section, const QString &key, const QString &text);

// A number as a fixed-point value scaled by 10000 ("1.0034" gives 10034,
// "5.7" gives 57000), rounded to the nearest with ties to even; empty text
// or text that is not a number gives 0.
qint64 ReadSettingNumber(const QString &section, const QString &key);
// Writes scaled / 10000 in its shortest decimal form (10034 as "1.0034",
// 50000 as "5").
void WriteSettingNumber(const QString &section, const QString &key, qint64 scaled);

// The conversions behind the two above, for callers that hold the text.
qint64 ParseSettingNumber(const QString &text);
QString FormatSettingNumber(qint64 scaled);

// The machine settings file, section "99".
QString ReadMachineSetting(const QString &key);
void WriteMachineSetting(const QString &key, const QString &text);

// The workstation settings file.
QString ReadWorkstationSetting(const QString &section, const QString &key);
void WriteWorkstationSetting(const QString &section, const QString &key, const QString &text);

// The stored administrator password (settings file, "INIT"/"WIN") is an
// encoded byte string that must come back byte for byte, blanks at either end
// and bytes without a character in the code page included. These two are the
// only raw accessors of the settings file and serve that key alone.
QByteArray ReadStoredPassword();
void WriteStoredPassword(const QByteArray &encoded);
