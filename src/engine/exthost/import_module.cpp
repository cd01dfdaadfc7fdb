// The Import statement: finds the module file, loads and starts the module
// and registers its classes and functions in the importing script.
#include "engine/exthost/ext_entities.h"
#include "support/numbers.h"
#include "support/text_utils.h"

namespace zu {

std::string FindModuleFile(const TZuScript& script, const std::string& moduleName) {
  std::string path = script.FindFile(moduleName);
  if (platform::FileExists(path)) return path;
  // A name such as "lib/x.zux" also counts relative to the program's folder.
  std::string besideProgram = platform::ProgramDirectory() + moduleName;
  if (platform::FileExists(besideProgram)) return besideProgram;
  return moduleName;
}

void TZuScript::ImportModule(const std::string& moduleName) {
  // Only this script's own lists count: an owner's module, class or
  // function of the same name is simply shadowed.
  if (ModuleList.Find(moduleName) != nullptr) {
    throw EZuScriptError(this, "Extension module \"" + moduleName + "\" already imported");
  }
  auto* module = static_cast<TZuScriptExtModule*>(ModuleList.Add(
      std::make_unique<TZuScriptExtModule>(moduleName, FindModuleFile(*this, moduleName), this)));

  // Whatever was registered before a failure stays and is released with the
  // script.
  for (const std::string& line : SplitLines(module->GetClassesList())) {
    std::string name = Trim(line);
    if (ClassList.Find(name) != nullptr) {
      throw EZuScriptError(this, "Class \"" + name + "\" exporting by extension module \"" +
                                     moduleName + "\" already exists");
    }
    ClassList.Add(std::make_unique<TZuScriptExtClass>(std::move(name), module, this));
  }

  // A line is NAME "," COUNT; runs of commas (and CR) separate the words and
  // blanks around each are dropped. A count that is not a number is 0.
  const CharSet separators = MakeCharSet(",\r");
  for (const std::string& line : SplitLines(module->GetFunctionsList())) {
    std::string trimmed = Trim(line);
    std::string name = Trim(WordAt(1, trimmed, separators));
    auto count = static_cast<int32_t>(
        static_cast<uint32_t>(TextToInt(Trim(WordAt(2, trimmed, separators)), 10)));
    if (ExtFuncList.Find(name) != nullptr) {
      throw EZuScriptError(this, "Function \"" + name + "\" exporting by extension module \"" +
                                     moduleName + "\" already exists");
    }
    ExtFuncList.Add(std::make_unique<TZuScriptExtFunction>(std::move(name), module, count, this));
  }
}

}  // namespace zu
