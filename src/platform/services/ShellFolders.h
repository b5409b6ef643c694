// The platform's well-known folders on this machine.
//
// The platform's Windows, system and temporary folders and its special folders (shell folder
// numbers, CSIDL) have these equivalents here; HOME is the user's home folder:
//   Windows folder                   /usr          (the system's installed files)
//   system folder                    /usr/lib      (the system's shared libraries)
//   temporary folder                 the temporary directory (TMPDIR, else /tmp), with a
//                                    trailing "/" as the platform gives it
//   0  desktop, 16 desktop folder    HOME/Desktop
//   25 common desktop folder         HOME/Desktop  (this machine has no desktop shared by all
//                                    users; the one the user sees stands in for it)
//   2  programs, 11 start menu       HOME/.local/share/applications   (the user's menu entries)
//   22 common start menu,
//   23 common programs               /usr/share/applications          (everyone's menu entries)
//   7  startup                       HOME/.config/autostart
//   24 common startup                /etc/xdg/autostart
//   5  personal (documents)          HOME/Documents
//   20 fonts                         /usr/share/fonts
//   21 templates                     HOME/Templates
//   26 application data              HOME/.config
//   65536 program files              /opt
//   65537 common files               /usr/local/lib
//   6 favorites, 8 recent, 9 send-to, 19 network neighbourhood, 27 printers, and any other
//   number: none (empty text), as the platform answers for a folder it does not have.
// The folders are named whether or not they exist yet.
#pragma once

#include <cstdint>
#include <string>

namespace zxp::services {

std::string windowsFolder();
std::string systemFolder();
std::string temporaryFolder();
std::string specialFolder(int32_t folderId);

}  // namespace zxp::services
