// The program's version and product code.
#pragma once

#include <QString>

// The version as the decimal the settings and the updater exchange.
inline constexpr double ProgramVersion = 1.0034;

// Section name of the machine settings, first argument of the updater.
inline constexpr int ProductCode = 99;

// The version formatted "0.0000": "1.0034".
inline QString VersionText()
{
    return QString::number(ProgramVersion, 'f', 4);
}
