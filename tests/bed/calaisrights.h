#pragma once
// The owner and DACL the permission repair gives the Calais keys, by Windows family.
#include <vector>

#include "tests/bed/keysecurity.h"

namespace calaisrights {

inline const char* const Everyone = "S-1-1-0";
inline const char* const LocalSystem = "S-1-5-18";
inline const char* const Administrators = "S-1-5-32-544";

inline constexpr BYTE Allowed = ACCESS_ALLOWED_ACE_TYPE;
inline constexpr BYTE Inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

inline const std::vector<TAce> Win2000Dacl = {
    {Allowed, Inherited, 0x20019, Everyone},
    {Allowed, Inherited, 0xF003F, LocalSystem},
    {Allowed, Inherited, 0xF003F, Administrators},
};
// Local Service, the creator owner, server operators and users besides.
inline const std::vector<TAce> LaterDacl = {
    {Allowed, Inherited, 0x20019, Everyone},
    {Allowed, Inherited, 0xF003F, LocalSystem},
    {Allowed, Inherited, 0xF003F, Administrators},
    {Allowed, Inherited, 0xF003F, "S-1-5-19"},
    {Allowed, Inherited, 0xF003F, "S-1-3-0"},
    {Allowed, Inherited, 0x20019, "S-1-5-32-547"},
    {Allowed, Inherited, 0x20019, "S-1-5-32-545"},
};

}  // namespace calaisrights
