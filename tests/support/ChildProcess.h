#pragma once

#include <functional>
#include <ostream>
#include <string>

/// Runs body in a child process, so that what it changes there (limits such as
/// RLIMIT_FSIZE, signal dispositions) stays there. Returns the child's exit status, body's
/// return value, or -1 when it did not exit normally; what body writes to out comes back in
/// output when given.
int RunInChild(const std::function<int(std::ostream& out)>& body, std::string* output = nullptr);

/// Limits the files the calling process writes to bytes and makes a write past that fail with
/// EFBIG instead of ending the process: a full disk, for a child of RunInChild.
bool LimitFileSize(unsigned long bytes);
