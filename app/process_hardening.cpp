#include "app/process_hardening.h"

#include "app/admin_folder.h"
#include "app/dll_search.h"

namespace kelo {

void HardenProcess() {
    RestrictDllSearch();
    RemoveStaleInstallerFolders(SystemTempFolder());
}

}  // namespace kelo
