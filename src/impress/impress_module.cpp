// The slide-show module (rirerazo-impress.so): the desktop host loads it when a script
// first runs a slide show, so the player starts and runs where the office is missing.
#include "impress_module.h"
#include "impress/impress_app.h"
#include "impress/office_process.h"

extern "C" __attribute__((visibility("default"))) rirerazo::QueuedPresentationApp*
rirerazo_make_impress(const rirerazo::ImpressModuleCall* call) {
  std::string program_folder = rirerazo::impress::FindOfficeProgramFolder();
  if (program_folder.empty()) return nullptr;
  return new rirerazo::impress::ImpressApp(std::move(program_folder), *call);
}
