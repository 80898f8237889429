// The control's identity and its registration for the current user.
//
// Linux has no class registry: the entries the control would write under the system's
// class root are kept in a registration file of their own,
// "$XDG_DATA_HOME/Tarvolen/classes/<class id>.reg" (XDG_DATA_HOME defaults to
// ~/.local/share), in the text form of RegistryFile.h. A page host finds a control's
// library through it, from a ProgID as a page names the control.
#pragma once

#include <string>

#include "webcontrol/RegistryFile.h"

// The coclass, the dual interface and the type library (whose id is also the AppID).
inline constexpr char kControlClassId[] = "{EA6246B4-F380-443F-8727-9AEA3371146C}";
inline constexpr char kControlInterfaceId[] = "{B123794A-AF6F-4D2C-9045-2235962745B9}";
inline constexpr char kControlTypeLibId[] = "{0A13893F-AC7D-4288-96A1-72E17B002D86}";
inline constexpr char kControlProgId[] = "activex.TarvolenFestraVaskControl.1";
inline constexpr char kControlVersionIndependentProgId[] = "activex.TarvolenFestraVaskControl";
inline constexpr char kControlDescription[] = "CTarvolenFestraVaskControl Object";
inline constexpr char kControlInterfaceName[] = "ITarvolenFestraVaskControl";

// The entries of the control whose library is `libraryPath`.
TRegistryKeys ControlRegistrationKeys(const std::string& libraryPath);

// The folder of the registration files; "" when neither XDG_DATA_HOME nor HOME is set.
std::string RegistrationFolder();

// Writes the control's registration file (whole, or not at all); false on failure.
bool RegisterControl(const std::string& libraryPath);
// Removes it; true also when it was not there.
bool UnregisterControl();

// The library registered for a ProgID (ProgID\CLSID, then that class's InprocServer32),
// searched in every registration file; "" when none is.
std::string FindRegisteredLibrary(const std::string& progId);
