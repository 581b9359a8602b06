// File paths as skins and settings write them. Paths use "/"; a "\" written
// in a skin or a stored setting (skins made on Windows) is read as "/".
#pragma once

#include <string>
#include <string_view>

namespace vorel {

std::string NormalisePath(std::string_view path);
// The folder of a file path, with a trailing "/" ("" when there is none).
std::string FolderOf(std::string_view path);
// A folder path with exactly one trailing "/" added when missing.
std::string WithTrailingSlash(std::string_view folder);
// True when the file name has an extension ("a.png", not "a" or "dir.x/a").
bool HasExtension(std::string_view path);
// True when the name has a folder part ("sub/a.png", "/abs/a.png").
bool HasFolderPart(std::string_view path);
bool FileExists(const std::string& path);
// The whole content of a file; raises KivError when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// A file named by a skin: an absolute path as it is, any other name taken
// relative to the skin's resource folder (which ends in "/").
std::string ResolveSkinFile(const std::string& resourcePath, std::string_view name);

// The settings form of a skin path: relative to the plug-in's folder when
// the skin lies below it, otherwise the skin file's folder name and file
// name.
std::string RelativeSkinPath(const std::string& skinPath, const std::string& pluginFolder);

}  // namespace vorel
