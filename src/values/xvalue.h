// Conversions between a ScriptValue and the 12-byte TZuScriptXValue record
// in which values cross the boundary between zus and an extension module.
// Compiled into both deliverables so that both sides read a record alike.
#pragma once

#include "values/script_value.h"
#include "zuscriptx.h"

namespace zu {

// Fills the record from the value. The record is zeroed first; a Text record
// points into v's own storage (an empty text to "", never null), so v must
// outlive every use of the record. A Boolean true becomes payload 1.
void ValueToXValue(const ScriptValue& v, TZuScriptXValue& x);

// The value a record stands for: kind 1 is true for any nonzero payload;
// kind 5 copies the zero-terminated text (null gives the empty text); kind 0
// and every kind above 5 give Empty.
ScriptValue XValueToValue(const TZuScriptXValue& x);

}  // namespace zu
