// The Import statement: loads an extension module and binds its classes and
// functions into the importing script.
#include "engine/script.h"

namespace zu {

void TZuScript::ImportModule(const std::string& moduleName) {
  throw EZuScriptError(this, "Can't load extension module \"" + moduleName + "\"");
}

}  // namespace zu
