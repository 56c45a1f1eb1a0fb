#pragma once
// The photos the thumbnail benchmark measures.

#include <string>
#include <vector>

// A picture with smooth areas and fine texture, so it compresses like a photo.
std::vector<unsigned char> MakePhotoPixels(int width, int height, unsigned seed);

// Photos of 4 to 24 megapixels made in `dir`, each as a baseline file and as
// its lossless progressive transcode; their paths.
std::vector<std::string> MakePhotos(const std::string& dir);

// The .jpg and .JPG files of `dir`, sorted.
std::vector<std::string> ListPhotos(const std::string& dir);
