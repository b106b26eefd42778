// The settings file of the data folder, data\vantle.ini, read and written through the profile
// functions.
#pragma once

// The switch of recording per application (on when there is none), and its change; 0 when the
// setting could not be written.
int ReadAppsSetting(void);
int WriteAppsSetting(int on);
// A text setting of a section into the buffer ("" when there is none); its length.
int ReadSettingText(const wchar_t* section, const wchar_t* key, wchar_t* text, int size);
// Writes a text setting; 0 when it could not be written.
int WriteSettingText(const wchar_t* section, const wchar_t* key, const wchar_t* text);
