// TEMPORARY: stand-ins for functions of other modules that are not merged yet.
// Remove this file when the game's MainGetGameName() lands.

const char* MainGetGameName()
{
    return "Kestrelbay' Vizavu";
}
