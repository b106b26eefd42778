// The settings file of the data folder, data\vantle.ini, read and written through the profile
// functions.
#pragma once

// The switch of recording per application (on when there is none), and its change; 0 when the
// setting could not be written.
int ReadAppsSetting(void);
int WriteAppsSetting(int on);
// The switch of recording per key and mouse button (on when there is none), and its change.
int ReadKeysSetting(void);
int WriteKeysSetting(int on);
