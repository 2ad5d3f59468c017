#include "editor/BitmapCache.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "drawing/Png.h"

namespace {

std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

std::map<int, std::unique_ptr<Bitmap>>& Cache() {
  static std::map<int, std::unique_ptr<Bitmap>> cache;
  return cache;
}

std::optional<Bitmap> DecodeResource(int) {
  return std::nullopt;  // the plug-in file's images arrive with the module resources
}

}  // namespace

const Bitmap* CachedBitmap(int id) {
  std::lock_guard<std::mutex> guard(CacheLock());
  auto found = Cache().find(id);
  if (found != Cache().end()) return found->second.get();
  std::optional<Bitmap> image = DecodeResource(id);
  if (!image) return nullptr;
  return Cache().emplace(id, std::make_unique<Bitmap>(std::move(*image))).first->second.get();
}

const Bitmap* CacheBitmap(int id, Bitmap image) {
  std::lock_guard<std::mutex> guard(CacheLock());
  auto& slot = Cache()[id];
  if (!slot) slot = std::make_unique<Bitmap>(std::move(image));
  return slot.get();
}
