#pragma once

#include <filesystem>
#include <span>
#include <string>

// The console programs' message catalog, through the C library's gettext. Each program names
// the folders that may hold the catalogs, relative to its own folder: the build tree's first,
// then the installed one.

/// Chooses the language from the environment and, for English, binds the first of
/// catalogFolders that holds the English catalog. The original texts need nothing: the C
/// library's own messages then stay as they were too.
void UseEnvironmentLanguage(std::span<const char* const> catalogFolders);

/// The translation of msgid, the original text, in the language chosen at start; msgid itself
/// when none was bound.
std::string ConsoleTranslate(const char* msgid);

/// The first of relativeFolders, under programFolder, that holds the English catalog, made
/// normal; empty when none does.
std::filesystem::path FindCatalogFolder(const std::filesystem::path& programFolder,
                                        std::span<const char* const> relativeFolders);
