// Loading a world plan's village.
#include "tools/testserver/Game.h"

#include "tools/testserver/Village.h"

namespace testserver {

std::string DefaultDatFile() {
#ifdef EBRUN_TESTSERVER_DAT
    return EBRUN_TESTSERVER_DAT;
#else
    return {};
#endif
}

std::shared_ptr<const TWorldSetup> LoadWorld(const std::string& DatFile, TWorldOptions Options) {
    auto Types = std::make_shared<const TObjectTypes>(TObjectTypes::load(DatFile));
    return std::make_shared<const TWorldSetup>(TWorldSetup{village::BuildVillage(Types), Options});
}

} // namespace testserver
