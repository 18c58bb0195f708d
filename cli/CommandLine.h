#pragma once

#include <optional>

/// The viewer's console side: "--export OUT.png [--set N] [--palette-group G]
/// The viewer's console side: "--export OUT.png [--set N] [--palette-group G]
/// [--colour-mode full|256] [--size N] [--cnf NAME] SET", "--list ARCHIVE" and "--help". Returns
/// the exit status when the command line asks for one of them, and nothing when it is for the
/// window (no toolkit is started here).
std::optional<int> RunCommandLineTool(int argc, char** argv);

/// Whether the command line is the console's to answer rather than the window's: any option is,
/// so that an unknown one never reaches the window as a file name.
bool IsConsoleCommand(int argc, char** argv);
