// Bitmaps built into the program: its Qt resource files keep them under ":/bitmaps/",
// each named after what it shows (a class name, for the class bitmaps of the chart).
#pragma once

#include <string>

class TBitmap;

// True when the program holds a bitmap resource of that name (case matters).
bool BitmapResourceExists(const std::string& Name);
// Loads the bitmap resource into Bitmap; answers false (Bitmap unchanged) when there is none.
bool LoadBitmapResource(TBitmap* Bitmap, const std::string& Name);
