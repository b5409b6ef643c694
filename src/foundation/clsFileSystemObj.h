// clsFileSystemObj: the library's file and folder utilities for applications (public and
// creatable), and the class the image list reads its icon folders through. It keeps no state;
// every call works on its arguments alone.
//
// Paths are UTF-8 with "\" or "/" as separators; how they, the attributes and the well-known
// folders map onto this machine is described in platform/services/FileServices.h and
// platform/services/ShellFolders.h. A path with "*" or "?" outside a search, malformed UTF-8, or
// a name too long for this machine is an invalid name.
//
// Failures follow one contract:
//  - CopyFile, DeleteFile, MoveFile, DriverExists, FileExists and FolderExists answer False
//    (the host's Boolean: a late-bound call sees True as -1).
//  - CreateFolder, DeleteFolder, GetAttributes, SetAttributes, GetFileSize and
//    GetFileDateAndTime raise HostError with the host's number and text: 53 "File not found"
//    (76 "Path not found" for folder operations and for a path through a missing folder),
//    70 "Permission denied", 75 "Path/File access error" (already exists, not empty, a folder
//    where a file is expected), 52 "Bad file name or number" (invalid name), 5 "Invalid
//    procedure call or argument" (attribute bits that cannot be set), 6 "Overflow" (a file time
//    outside the host's dates).
//  - Text results are empty when there is nothing to give; FilesCount gives 0.
// Every text result is cut at a NUL and stripped of leading and trailing spaces, and a path
// result that would not fit the platform's 260-character buffer is empty.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/MemberTable.h"
#include "platform/host/runtime/Date.h"
#include "platform/services/FileServices.h"

namespace zxp {

// The platform's special-folder numbers, as the type library publishes them.
enum class SpecialFolderIDs : int32_t {
  sfidDESKTOP = 0,
  sfidPROGRAMS = 2,
  sfidPERSONAL = 5,
  sfidFAVORITES = 6,
  sfidSTARTUP = 7,
  sfidRECENT = 8,
  sfidSENDTO = 9,
  sfidSTARTMENU = 11,
  sfidDESKTOPDIRECTORY = 16,
  sfidNETHOOD = 19,
  sfidFONTS = 20,
  sfidTEMPLATES = 21,
  sfidCOMMON_STARTMENU = 22,
  sfidCOMMON_PROGRAMS = 23,
  sfidCOMMON_STARTUP = 24,
  sfidCOMMON_DESKTOPDIRECTORY = 25,
  sfidAPPDATA = 26,
  sfidPRINTHOOD = 27,
  sfidProgramFiles = 65536,
  sfidCommonFiles = 65537,
};

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(SpecialFolderIDs);

// The path of a special folder, empty where this machine has none; cut and trimmed as the
// class's text results are.
std::string specialFolderPath(SpecialFolderIDs folder);

class clsFileSystemObj : public host::Dispatchable {
 public:
  // The members, in the interface's order (all methods).
  const host::MemberTable& memberTable() const override;

  // Copies a regular file. With blnOverwirte False an existing destination makes it fail; a
  // read-only destination is never overwritten. A failed copy leaves no new destination behind.
  bool CopyFile(const std::string& dstFilePath, const std::string& srcFilePath,
                  bool blnOverwirte) const;
  // Creates one folder level; its parent must exist.
  void CreateFolder(const std::string& lpstrFilePath) const;
  // Deletes a file (not a folder, not a read-only file).
  bool DeleteFile(const std::string& lpstrFilePath) const;
  // Removes an empty folder. Returns nothing (the host's empty Variant).
  void DeleteFolder(const std::string& lpStrFolderPath) const;
  // True when the named drive's current folder can be read. "C", "C:" and "C:\" name this
  // machine's file system, whose current folder is the process's; other letters name no drive.
  // Any other text is taken as the path of a mounted volume, True when it is a readable folder.
  bool DriverExists(const std::string& lpstrDriveName) const;
  // True when the path names something that opens for reading and is not a folder.
  bool FileExists(const std::string& lpstrFilePath) const;
  // True when a directory search for the path finds a name: files count as well as folders,
  // and a trailing separator or a wildcard last part searches the folder's entries.
  bool FolderExists(const std::string& lpStrFolderPath) const;
  // The short form of an existing path as the platform gives it. This machine has no short
  // names, so it is the path as given; empty when the path does not exist.
  std::string GetBaseName(const std::string& lpStrLongPathName) const;
  // The attribute bits (VbFileAttribute) of a file or folder.
  int32_t GetAttributes(const std::string& lpStrPath) const;
  // Sets the attribute bits: vbReadOnly takes effect, vbHidden, vbSystem and vbArchive are
  // accepted without effect on this machine, any other bit raises 5. Returns nothing.
  void SetAttributes(const std::string& lpStrPath, int32_t dstAttribute) const;
  // The file's length in bytes, as the host's 32-bit integer (the low 32 bits of larger sizes).
  // A folder raises 75.
  int32_t GetFileSize(const std::string& lpStrPath) const;
  // The file's name as the platform displays it: the last part of the path, extension included.
  // Empty for a path ending in a separator or holding characters no file name may contain.
  // Does not look at the disk.
  std::string GetFileTitle(const std::string& lpstrFilePath) const;
  // The file version from the file's version resource as "major.minor.build.revision" (the
  // library's own files carry the project version); empty for files without one.
  std::string GetFileVersion(const std::string& lpStrPath) const;
  // Moves or renames a file or folder; an existing destination makes it fail. A file moves
  // across file systems by copying, keeping its modification time; a folder does not.
  bool MoveFile(const std::string& srcFilePath, const std::string& dstFilePath) const;
  std::string GetWindowsFolderPath() const;
  // The temporary-files folder, with its trailing separator.
  std::string GetTempoaryFolderPath() const;
  std::string GetSystemFolderPath() const;
  // The last modification date and time of a file or folder, in local time to the second.
  host::Date GetFileDateAndTime(const std::string& lpstrFilePath) const;
  // The common desktop folder (special folder 25) and the common start menu (22).
  std::string GetDesktopPath() const;
  std::string GetStartMenuPath() const;
  // The number of entries a search for lpStrPath & "\" & lpstrFilter finds, "." and ".."
  // included when they match. Without a filter the pattern ends in the separator and every
  // entry of the folder counts. Nothing found, or anything invalid, gives 0.
  int32_t FilesCount(const std::string& lpStrPath, const std::string& lpstrFilter = {}) const;
  // The names FilesCount counts, in the platform's listing order ("." and ".." first, then by
  // name ignoring case), joined with "|". Bytes of a name that are not UTF-8 come back as "?".
  std::string FindFiles(const std::string& lpStrPath, const std::string& lpstrFilter) const;
};

}  // namespace zxp
