// The toolkit on which the io module's classes are written: the base class
// TZuScriptX_Object with its function and property checks, the two owning
// lists, and the module-wide registry the entry points work on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "values/script_value.h"

namespace zu::io {

// One function of a class or of the module: its name and argument count.
class TZuScriptX_Function {
 public:
  TZuScriptX_Function(std::string name, int32_t arg_count)
      : Name(std::move(name)), ArgCount(arg_count) {}
  std::string Name;
  int32_t ArgCount;
};

// An owning list kept in ordinal (byte-wise) order of each entry's Key; an
// entry added under an equal key follows the ones already there. Clear frees
// the entries first to last or, with ClearFromLast, last to first.
template <class Item, std::string Item::*Key, bool ClearFromLast>
class TZuScriptX_SortedList {
 public:
  TZuScriptX_SortedList() = default;
  ~TZuScriptX_SortedList() { Clear(); }
  TZuScriptX_SortedList(const TZuScriptX_SortedList&) = delete;
  TZuScriptX_SortedList& operator=(const TZuScriptX_SortedList&) = delete;

  // Takes ownership and keeps the list sorted; a null item is ignored.
  // Returns the item (null for null).
  Item* Add(std::unique_ptr<Item> item) {
    if (!item) return nullptr;
    Item* added = item.get();
    std::string_view key = added->*Key;
    auto at = std::upper_bound(items_.begin(), items_.end(), key,
                               [](std::string_view k, const std::unique_ptr<Item>& entry) {
                                 return k.compare(entry.get()->*Key) < 0;
                               });
    items_.insert(at, std::move(item));
    return added;
  }
  void Clear() {
    if constexpr (ClearFromLast) {
      while (!items_.empty()) items_.pop_back();
    } else {
      for (auto& item : items_) item.reset();
      items_.clear();
    }
  }
  size_t Count() const { return items_.size(); }
  Item* Get(size_t index) const { return items_[index].get(); }

 protected:
  std::vector<std::unique_ptr<Item>> items_;
};

// True when both names are equal once upper-cased with the platform's
// mapping; the lists' and the classes' name lookups.
bool SameUpperName(std::string_view a, std::string_view b);

// The functions of a class or of the module, in ordinal order of Name.
class TZuScriptX_FunctionsList
    : public TZuScriptX_SortedList<TZuScriptX_Function, &TZuScriptX_Function::Name, false> {
 public:
  // The first entry, in list order, whose name equals name ignoring case.
  TZuScriptX_Function* Find(std::string_view name) const;
};

// Base class of every module class. A concrete class registers its
// functions and properties in its constructor and overrides the three
// operations, calling the base first for the common checks.
class TZuScriptX_Object {
 public:
  static constexpr int kMaxSubProperties = 16;

  TZuScriptX_Object(std::string class_name, std::string object_name);
  virtual ~TZuScriptX_Object() = default;
  TZuScriptX_Object(const TZuScriptX_Object&) = delete;
  TZuScriptX_Object& operator=(const TZuScriptX_Object&) = delete;

  // Splits a property path at its dots into SubProperties; false with "Too
  // much subproperties" for more than 16 parts.
  bool SplitProperty(const std::string& path);

  // The function must exist and take last_index + 1 arguments; false with
  // LastError set otherwise. The base does no work and leaves result alone.
  virtual bool CallFunction(const std::string& name, const std::vector<ScriptValue>& values,
                            int last_index, ScriptValue& result);
  // The first part of the path must be a property of the class.
  virtual bool GetProperty(const std::string& name, ScriptValue& value);
  virtual bool SetProperty(const std::string& name, const ScriptValue& value);

  std::string ClassName;
  std::string ObjectName;
  TZuScriptX_FunctionsList Functions;
  std::vector<std::string> Properties;  // in the order added
  std::string SubProperties[kMaxSubProperties];

 protected:
  void AddFunction(const char* name, int32_t arg_count);
  void AddProperty(const char* name) { Properties.emplace_back(name); }
  // The messages of a name the base accepted but the class does not handle.
  bool NotImplemented(const std::string& name);
  bool WriteOnly(const std::string& name);
  bool ReadOnly(const std::string& name);
};

// The module's objects, in ordinal order of ObjectName; freed last first.
class TZuScriptX_ObjectsList
    : public TZuScriptX_SortedList<TZuScriptX_Object, &TZuScriptX_Object::ObjectName, true> {
 public:
  // The first object whose name equals object_name ignoring case and, when
  // class_name is not empty, whose class equals class_name ignoring case.
  TZuScriptX_Object* Find(std::string_view class_name, std::string_view object_name) const;
};

// The module-wide state: one instance lives from the library's load to its
// unload. Calls come from one thread at a time, so it needs no guard.
struct ModuleRegistry {
  ModuleRegistry() = default;
  ~ModuleRegistry();
  ModuleRegistry(const ModuleRegistry&) = delete;
  ModuleRegistry& operator=(const ModuleRegistry&) = delete;

  std::vector<std::string> ClassesList;
  TZuScriptX_ObjectsList ObjectsList;
  TZuScriptX_FunctionsList FunctionsList;
  std::string LastError;
};

// The registry of this module.
ModuleRegistry& Registry();

// Sets LastError and answers false, so failures read `return Fail(...)`.
bool Fail(std::string message);

}  // namespace zu::io
