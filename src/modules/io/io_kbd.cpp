// TKeyboard: one console input record at a time, never waiting; the
// properties describe the last record taken.
#include "modules/io/io_kbd.h"

#include "support/errors.h"

namespace zu::io {

template <auto Field>
bool TZuScriptX_Keyboard::RecordInteger(TZuScriptX_Keyboard& keyboard, ScriptValue& value) {
  value = ScriptValue::Integer(static_cast<int32_t>(keyboard.InputRecord.*Field));
  return true;
}

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
    {"RepeatCount", RecordInteger<&platform::InputRecord::RepeatCount>, nullptr},
    {"VirtualKeyCode", RecordInteger<&platform::InputRecord::VirtualKeyCode>, nullptr},
    {"VirtualScanCode", RecordInteger<&platform::InputRecord::VirtualScanCode>, nullptr},
    {"AsciiChar",
     [](TZuScriptX_Keyboard& k, ScriptValue& value) {
       value = ScriptValue::Text(std::string(1, k.InputRecord.AsciiChar));
       return true;
     },
     nullptr},
    {"CtrlState", RecordInteger<&platform::InputRecord::ControlKeyState>, nullptr},
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
