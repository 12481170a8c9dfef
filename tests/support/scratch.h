// A fresh scratch directory per test under the prefix's drive C, and file helpers.
#pragma once
#include <string>

// Creates C:\tnptest\<name>\ (removing an earlier one) and returns it with a trailing backslash.
std::string MakeScratchDir(const std::string &name);
std::string ReadWholeFile(const std::string &path);
void WriteWholeFile(const std::string &path, const std::string &bytes);
bool PathExists(const std::string &path);
