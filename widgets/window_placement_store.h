#pragma once

#include <string>

#include "platform/registry/custom_ini_file.h"

namespace rv {

class TCustomForm;

// The typed reads and writes of a form placement's store. Without a store (no settings are kept
// for it) reads give the default and writes do nothing. Into an INI file, a text that begins and
// ends with the same quote (double or single) is written within a further pair of double quotes,
// since reading takes one such pair away.
std::string IniReadString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                          const std::string& defaultValue);
int IniReadInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                   int defaultValue);
void IniWriteString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                    const std::string& value);
void IniWriteInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                     int value);

// "(<width>x<height>)" of the primary screen, appended to the names of the positions so that a
// placement written on one screen size is found again on that size.
std::string ScreenSuffix();

// Writes the form's placement into `section`: "Flags", "ShowCmd", "PixelsPerInch", then
// "MinMaxPos" and "NormPos", each under the name with the screen suffix and the plain name.
void WriteWindowPlacement(TCustomForm* form, TCustomIniFile* ini, const std::string& section);

// Reads a placement written as above and applies its bounds (`loadPosition`; only when written
// at the screen's present pixels per inch, and moved onto a screen that exists now) and its
// state (`loadState`). Positions are read under the suffixed name first. A minimised main form
// is shown normal and then minimised through a posted SC_MINIMIZE.
void ReadWindowPlacement(TCustomForm* form, TCustomIniFile* ini, const std::string& section,
                         bool loadPosition, bool loadState);

}  // namespace rv
