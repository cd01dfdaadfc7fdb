// TZuScriptObjList: the owning, name-sorted entity list behind every lookup.
#include <algorithm>

#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

TZuScriptRoot* TZuScriptObjList::Add(std::unique_ptr<TZuScriptRoot> entity) {
  if (!entity) return nullptr;
  TZuScriptRoot* added = entity.get();
  // The list is always sorted, so the new entity goes after every entity
  // whose name is not greater: the same order a stable re-sort would give,
  // and an entity added twice under one name is found in adding order.
  auto at = std::upper_bound(items_.begin(), items_.end(), added->Name,
                             [](const std::string& name, const std::unique_ptr<TZuScriptRoot>& e) {
                               return name < e->Name;
                             });
  items_.insert(at, std::move(entity));
  return added;
}

TZuScriptRoot* TZuScriptObjList::Find(std::string_view name) const {
  for (const auto& e : items_) {
    if (SameTextAscii(e->Name, name)) return e.get();
  }
  return nullptr;
}

void TZuScriptObjList::Clear() {
  // Last one first; each entity is detached before it is freed, so a
  // destructor that looks at the list sees it consistent.
  while (!items_.empty()) {
    std::unique_ptr<TZuScriptRoot> last = std::move(items_.back());
    items_.pop_back();
    last.reset();
  }
}

}  // namespace zu
