#include "engine/Tarsyn7.h"

// Bank files and the factory banks stored in the plug-in file are read here once the
// bank reader is in place; until then no bank loads and the slots stay empty, which
// the entry point fills with the initial sound.
bool Tarsyn7::LoadBankFile(const std::string& /*path*/) { return false; }

bool Tarsyn7::LoadFactoryBank(const char* /*name*/, const char* /*type*/) { return false; }
