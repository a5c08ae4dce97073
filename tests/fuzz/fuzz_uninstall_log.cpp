// The uninstall log reader and the uninstaller's command line on any input:
// no crash; a log that is taken names only what the setup could have made
// (checked here again, apart from the reader's own code), and written out
// again it reads back as the same entries.
#include "FuzzSupport.h"
#include "uninstall/st6unst/Uninstall.h"
#include "uninstall/st6unst/UninstallLog.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool Begins(const std::string& text, const std::string& prefix) {
  return Lower(text).compare(0, prefix.size(), Lower(prefix)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::Text(data, size);
  st6unst::SystemFolders folders;
  folders.windows = "C:\\Windows";
  folders.system = "C:\\Windows\\System32";
  folders.kept = {"C:\\Program Files", "C:\\Users\\ann"};
  const st6unst::LogReading reading = st6unst::ReadUninstallLog(text, folders);

  if (reading.ok) {
    FUZZ_CHECK(!reading.log.entries.empty());
    std::vector<std::string> logFolders;
    for (const st6unst::LogEntry& entry : reading.log.entries)
      if (entry.kind == st6unst::EntryKind::Folder) logFolders.push_back(Lower(entry.path));
    std::string again =
        "Tessaly Uninstall Log 1\r\nProduct: Tessaly Customizable Screen Saver\r\nVersion: " + reading.log.version +
        "\r\n";
    for (const st6unst::LogEntry& entry : reading.log.entries) {
      const std::string& path = entry.path;
      FUZZ_CHECK(path.find('\r') == std::string::npos && path.find('\n') == std::string::npos);
      const std::string wrapped = path + "\\";
      FUZZ_CHECK(wrapped.find("\\..\\") == std::string::npos && wrapped.find("\\.\\") == std::string::npos);
      switch (entry.kind) {
        case st6unst::EntryKind::Folder:
          FUZZ_CHECK(path.size() > 3 && path[1] == ':' && path[2] == '\\');
          FUZZ_CHECK(!Begins(path + "\\", "C:\\Windows\\"));
          FUZZ_CHECK(!Begins("C:\\Program Files\\", path + "\\") && !Begins("C:\\Users\\ann\\", path + "\\"));
          again += "Folder: " + path + "\r\n";
          break;
        case st6unst::EntryKind::File: {
          const std::string folder = Lower(path.substr(0, path.rfind('\\')));
          const std::string name = Lower(path.substr(path.rfind('\\') + 1));
          bool inLogFolder = false;
          for (const std::string& f : logFolders) inLogFolder = inLogFolder || f == folder;
          FUZZ_CHECK(inLogFolder ||
                     (folder == "c:\\windows\\system32" && (name == "tessaly.scr" || name == "tscss.htm")) ||
                     (folder == "c:\\windows" && name == "st6unst.exe"));
          FUZZ_CHECK(!name.empty());
          again += "File: " + path + "\r\n";
          break;
        }
        case st6unst::EntryKind::RegKey:
          FUZZ_CHECK(Begins(path, "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"));
          FUZZ_CHECK(path.find('\\', 57) == std::string::npos && path.size() > 57);
          again += "RegKey: " + path + "\r\n";
          break;
      }
    }
    again += "End: " + std::to_string(reading.log.entries.size()) + "\r\n";
    const st6unst::LogReading reread = st6unst::ReadUninstallLog(again, folders);
    FUZZ_CHECK(reread.ok && reread.log.entries == reading.log.entries);
  } else {
    FUZZ_CHECK(reading.log.entries.empty() && !reading.problem.empty());
  }

  const st6unst::Arguments arguments = st6unst::ParseArguments(text);
  if (arguments.ok) FUZZ_CHECK(!arguments.logPath.empty() && arguments.logPath.find('"') == std::string::npos);
  st6unst::ArgumentText(text);
  st6unst::NamesTessaly(text);
  return 0;
}
