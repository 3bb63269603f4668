#include "os/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include "os/posix_system.h"

namespace rirerazo::os {
namespace {

std::string FolderOfFile(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

std::vector<std::string> ModuleFolders(const std::string& executable_path) {
  const std::string folder = FolderOfFile(executable_path);
  std::vector<std::string> folders{folder};
  // <prefix>/bin/ -> <prefix>/lib/rirerazo/
  const std::string bin = "/bin/";
  if (folder.size() >= bin.size() &&
      folder.compare(folder.size() - bin.size(), bin.size(), bin) == 0) {
    folders.push_back(folder.substr(0, folder.size() - bin.size()) + "/lib/rirerazo/");
  }
  return folders;
}

LoadedModule LoadModule(std::string_view file_name, const char* entry_name) {
  LoadedModule loaded;
  for (const std::string& folder : ModuleFolders(PosixSystem().ExecutablePath())) {
    const std::string path = folder + std::string(file_name);
    if (access(path.c_str(), F_OK) != 0) continue;
    loaded.path = path;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      loaded.error = dlerror();
      return loaded;
    }
    loaded.entry = dlsym(module, entry_name);
    if (loaded.entry == nullptr) loaded.error = std::string(entry_name) + " is missing in " + path;
    return loaded;
  }
  loaded.error = std::string(file_name) + " is not installed";
  return loaded;
}

}  // namespace rirerazo::os
