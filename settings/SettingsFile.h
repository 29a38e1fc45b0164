#pragma once

class Window;
struct EncodeSettings;

extern const char kSettingsFileName[];

// "Brumweld.ini" beside the executable. Loading fills the record and places the window:
// centred without a stored position, else moved there.
void LoadSettingsFile(Window& window, EncodeSettings& settings);
// Rewrites the file whole, or leaves it exactly as it was; nothing is reported.
void SaveSettingsFile(Window& window, const EncodeSettings& settings);

// The same on a file named by its full path; saving tells whether the file was replaced.
void LoadSettingsFile(Window& window, EncodeSettings& settings, const char* path);
bool SaveSettingsFile(Window& window, const EncodeSettings& settings, const char* path);
