// Who works at this computer: the name written into the audit log and used as
// the section name of the workstation settings.
#pragma once

#include <QString>

namespace platform {

// Computer name + " - " + user name of this process. The computer name is cut
// to 15 characters, as the 16-character buffer of the original system gave
// it; the user name is "Necunoscut" when the system cannot tell it.
QString workstationUser();

// The same composition from given names (empty user gives "Necunoscut").
QString composeWorkstationUser(const QString &computerName, const QString &userName);

} // namespace platform
