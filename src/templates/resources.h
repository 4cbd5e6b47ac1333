// The files the program carries inside itself, and writing them out.
//
// A carried file is known by a name and a type ("Anexa5PFM" of type "MODEL",
// "P1" of type "Lege", "ICO" of type "POZA"); both are matched without regard
// to case. In the Qt resource system each one is the entry
// ":/<type>/<name>", so any library may carry files of its own by listing
// them in a .qrc under the prefix of their type, with their name as alias:
//
//     <qresource prefix="/MODEL"><file alias="Registru">Registru.xls</file></qresource>
//
//     QString error;
//     if (!ExtractResource("Anexa4", "MODEL", dataFolder + "/Anexa_4.rtf", &error))
//         ...  // held open, not writable, or not carried (error says which)
#pragma once

#include <QByteArray>
#include <QString>

// Resource types of the program.
inline constexpr char kResourceTemplate[] = "MODEL";
inline constexpr char kResourceLawText[] = "Lege";
inline constexpr char kResourcePicture[] = "POZA";

// The Qt resource path of a carried file, or empty when it is not carried.
QString ResourcePath(const QString &name, const QString &type);

// True when the program carries the file.
bool HasResource(const QString &name, const QString &type);

// The content of a carried file; empty when it is not carried.
QByteArray ResourceData(const QString &name, const QString &type);

// Writes the carried file (name, type) to `path`. The file at `path` is
// deleted first; when it cannot be (another program holds it open), nothing
// is written and the result is false. False too when the program does not
// carry that file or the file cannot be written; `error`, when given, then
// tells why in the clerk's words.
bool ExtractResource(const QString &name, const QString &type, const QString &path, QString *error = nullptr);
