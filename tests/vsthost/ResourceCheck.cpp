// Checks, the way Windows itself looks them up, that a DLL carries numbered resources:
//   resourcecheck PLUGIN.dll TYPE FIRST LAST [SIGNATURE]
// Every id FIRST..LAST must be found, non-empty, and start with SIGNATURE when given
// ("PNG" checks the PNG file signature). Exit status 0 when all are there.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: resourcecheck PLUGIN.dll TYPE FIRST LAST [SIGNATURE]\n");
    return 2;
  }
  HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  const char* signature = argc > 5 ? argv[5] : "";
  int first = std::atoi(argv[3]);
  int last = std::atoi(argv[4]);
  int missing = 0;
  for (int id = first; id <= last; ++id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), argv[2]);
    DWORD size = found ? SizeofResource(module, found) : 0;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    bool hasSignature = bytes && size > std::strlen(signature) + 1 &&
                        std::memcmp(bytes + 1, signature, std::strlen(signature)) == 0;
    if (!bytes || size == 0 || (*signature && !hasSignature)) {
      std::fprintf(stderr, "%s: resource %s %d missing or damaged\n", argv[1], argv[2], id);
      ++missing;
    }
  }
  FreeLibrary(module);
  std::printf("%s: %d of %d %s resources found\n", argv[1], last - first + 1 - missing,
              last - first + 1, argv[2]);
  return missing ? 1 : 0;
}
