// File and folder helpers of the substitute host, on both targets. Paths are
// 8-bit strings in the system's own form: Windows paths under Windows.
#pragma once

#include <string>
#include <vector>

namespace twhost {

// The separator the system writes between path components.
char PathSeparator();
// Line end of the sample files the host writes: CR LF on Windows, LF elsewhere.
const char* NativeLineEnd();

// `name` made absolute: relative names are taken inside `base`; '.' and '..'
// components are resolved and separators brought to the system's form.
std::string ResolvePath(const std::string& base, const std::string& name);
// The current folder's absolute form of `name`.
std::string AbsolutePath(const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The host's process id, for names unique to this run.
unsigned long ProcessNumber();

// The folder holding the running executable.
std::string ExecutableFolder();
// Makes a new, empty folder under the system's temporary folder.
bool MakeTemporaryFolder(std::string* folder, std::string* error);
bool MakeFolders(const std::string& folder);
// Deletes the folder with everything in it; what cannot be deleted stays.
bool DeleteTree(const std::string& folder);

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string* content);
bool WriteWholeFile(const std::string& path, const std::string& content);
bool CopyOneFile(const std::string& from, const std::string& to);
bool DeleteOneFile(const std::string& path);
// The names (not paths) of the plain files in `folder`.
std::vector<std::string> ListFiles(const std::string& folder);

// Moves the file's last-write time two seconds past the latest of: its
// time now, `oldTicks` (its time before the write) and every time given
// before, as a write by another process somewhat later would. Programs that
// notice changes by a newer last-write time then see the file as changed
// even when it was rewritten within their clock's resolution.
bool AgeLastWriteTime(const std::string& path, long long oldTicks);
// The file's last-write time in the file system's ticks; 0 when unknown.
long long LastWriteTicks(const std::string& path);

}  // namespace twhost
