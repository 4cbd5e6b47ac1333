// The encoded form under which the administrator password is stored in the
// settings file ("INIT"/"WIN") and against which a typed password is checked.
//
// The encoding mixes the password's bytes with pseudo-random bytes and shuffles
// them with a generator seeded from the password itself, so the same password
// always gives the same bytes. Existing settings files hold passwords encoded
// this way: every draw below must stay exactly as it is, or they stop matching.
#pragma once

#include <QByteArray>

// Encodes a non-empty password (its bytes in the settings file's code page).
// The result is L + k + 1 bytes long (k from 6 to 35) and ends with the
// password's last byte. An empty password encodes to an empty value.
QByteArray CodeazaStr(const QByteArray &password);
