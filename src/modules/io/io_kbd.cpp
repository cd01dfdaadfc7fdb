// TKeyboard: one console input record at a time, never waiting; the
// properties describe the last record taken.
#include "modules/io/io_kbd.h"

#include "support/errors.h"

namespace zu::io {

const TZuScriptX_Keyboard::Method TZuScriptX_Keyboard::kMethods[] = {
    {"Read", 0,
     [](TZuScriptX_Keyboard& k, const Values&, ScriptValue& result) {
       result = ScriptValue::Boolean(k.Read());
       return true;
     }},
    {"Flush", 0,
     [](TZuScriptX_Keyboard&, const Values&, ScriptValue& result) {
       result = ScriptValue::Boolean(platform::FlushConsoleInput());
       return true;
     }},
};

// The fields of the last record read, all read-only; zeros before the
// first Read.
const TZuScriptX_Keyboard::Property TZuScriptX_Keyboard::kProperties[] = {
    {"KeyDown",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Boolean(k.InputRecord.KeyDown);
       return true;
     },
     nullptr},
    {"RepeatCount",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Integer(k.InputRecord.RepeatCount);
       return true;
     },
     nullptr},
    {"VirtualKeyCode",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Integer(k.InputRecord.VirtualKeyCode);
       return true;
     },
     nullptr},
    {"VirtualScanCode",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Integer(k.InputRecord.VirtualScanCode);
       return true;
     },
     nullptr},
    {"AsciiChar",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Text(std::string(1, k.InputRecord.AsciiChar));
       return true;
     },
     nullptr},
    {"CtrlState",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Integer(static_cast<int32_t>(k.InputRecord.ControlKeyState));
       return true;
     },
     nullptr},
};

TZuScriptX_Keyboard::TZuScriptX_Keyboard(std::string className, std::string objectName)
    : TZuScriptX_TableObject(std::move(className), std::move(objectName), kMethods, kProperties) {
  InputHandle = platform::StdInputHandle();
  if (InputHandle == -1) {
    throw EFailure("EZuScriptXError",
                   "Can't get stdin handle. Error " + std::to_string(platform::LastError()));
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

}  // namespace zu::io
