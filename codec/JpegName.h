#pragma once

// True exactly when the name has at least four characters and ends in
// ".jpg" or ".JPG", compared byte for byte (".Jpg" and ".jpeg" do not count).
bool IsJpegName(const char* name);
