// TKeyboard: one console input record at a time, never waiting; the
// properties describe the last record taken.
#include "modules/io/io_kbd.h"

#include "support/errors.h"

namespace zu::io {

TZuScriptX_Keyboard::TZuScriptX_Keyboard(std::string class_name, std::string object_name)
    : TZuScriptX_Object(std::move(class_name), std::move(object_name)) {
  InputHandle = platform::StdInputHandle();
  if (InputHandle == -1) {
    throw EFailure("EZuScriptXError",
                   "Can't get stdin handle. Error " + std::to_string(platform::LastError()));
  }
  AddFunction("Read", 0);
  AddFunction("Flush", 0);
  for (const char* name :
       {"KeyDown", "RepeatCount", "VirtualKeyCode", "VirtualScanCode", "AsciiChar", "CtrlState"}) {
    AddProperty(name);
  }
}

bool TZuScriptX_Keyboard::Read() {
  // Only pending events are taken, so the call never blocks.
  if (platform::PendingConsoleEvents() <= 0) return false;
  platform::InputRecord record;
  if (!platform::ReadConsoleEvent(record)) return false;
  InputRecord = record;
  return InputRecord.EventType == 1;
}

bool TZuScriptX_Keyboard::CallFunction(const std::string& name,
                                       const std::vector<ScriptValue>& values, int last_index,
                                       ScriptValue& result) {
  if (!TZuScriptX_Object::CallFunction(name, values, last_index, result)) return false;
  std::string upper = platform::UpperText(name);
  if (upper == "READ") {
    result = ScriptValue::Boolean(Read());
    return true;
  }
  if (upper == "FLUSH") {
    result = ScriptValue::Boolean(platform::FlushConsoleInput());
    return true;
  }
  return NotImplemented(name);
}

bool TZuScriptX_Keyboard::GetProperty(const std::string& name, ScriptValue& value) {
  if (!TZuScriptX_Object::GetProperty(name, value)) return false;
  std::string upper = platform::UpperText(name);
  if (upper == "KEYDOWN") {
    value = ScriptValue::Boolean(InputRecord.KeyDown);
  } else if (upper == "REPEATCOUNT") {
    value = ScriptValue::Integer(InputRecord.RepeatCount);
  } else if (upper == "VIRTUALKEYCODE") {
    value = ScriptValue::Integer(InputRecord.VirtualKeyCode);
  } else if (upper == "VIRTUALSCANCODE") {
    value = ScriptValue::Integer(InputRecord.VirtualScanCode);
  } else if (upper == "ASCIICHAR") {
    value = ScriptValue::Text(std::string(1, InputRecord.AsciiChar));
  } else if (upper == "CTRLSTATE") {
    value = ScriptValue::Integer(static_cast<int32_t>(InputRecord.ControlKeyState));
  } else {
    return WriteOnly(name);
  }
  return true;
}

bool TZuScriptX_Keyboard::SetProperty(const std::string& name, const ScriptValue& value) {
  if (!TZuScriptX_Object::SetProperty(name, value)) return false;
  return ReadOnly(name);
}

}  // namespace zu::io
