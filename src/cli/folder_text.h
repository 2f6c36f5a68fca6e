#pragma once

#include <string>

// An absolute folder text without a trailing "/", as the window's folder boxes hold them.
std::string folderText(const std::string& path);
