/* testmod.c - an extension module for the host's tests, written in C (it
 * also proves that zuscriptx.h stands on its own in C). It behaves well by
 * default and misbehaves on demand.
 *
 * The behaviour is chosen when it is first needed (normally in
 * ZuScriptXInit) from the environment variable ZUS_TESTMOD_MODE, or, when
 * that is not set, from the first line of a file "testmod.mode" in the
 * current directory (so golden script tests can pick a mode too):
 *   (empty)       classes TCOUNTER and TOTHER; functions ADD,2 ECHO,1 FAIL,0
 *                 NULLTEXT,0 ARGCOUNT,0
 *   initfail      ZuScriptXInit answers FALSE with "Init failed on purpose"
 *   longerror     ZuScriptXInit answers FALSE with a 5000-character text
 *   lasterrfalse  ZuScriptXInit answers FALSE and ZuScriptXGetLastError too
 *   blankclass    classes list "TA", "", "TB"
 *   dupclass      classes list "TA", "ta"
 *   funcblanks    functions list " ADD , 2 " and a name alone, "LONELY"
 *   dupfunc       functions list "ADD,2" and "add,1"
 *   longclasses   classes list longer than the buffer ("Buffer size too small")
 *   longfuncs     functions list longer than the buffer
 *   unterminated  both lists fill all `size` characters and write no NUL
 *   classesfail   ZuScriptXGetClassesList answers FALSE "No classes today"
 *   funcsfail     ZuScriptXGetFunctionsList answers FALSE "No functions today"
 * ZuScriptXInit and ZuScriptXDone append a line "init" / "done" to the file
 * named by ZUS_TESTMOD_LOG, or, when that is not set, to "testmod.log" in the
 * current directory if that file exists.
 *
 * Variants built from this file leave one export out: TESTMOD_NO_DONE,
 * TESTMOD_NO_INIT, TESTMOD_NO_VERSION, TESTMOD_NO_LASTERROR,
 * TESTMOD_NO_CLASSES, TESTMOD_NO_FUNCTIONS, TESTMOD_NO_CREATE,
 * TESTMOD_NO_CALL, TESTMOD_NO_GETPROP, TESTMOD_NO_SETPROP. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zuscriptx.h"

/* Helpers some variants do not use. */
#if defined(__GNUC__) || defined(__clang__)
#define HELPER static __attribute__((unused))
#else
#define HELPER static
#endif

enum { kMaxObjects = 64, kNameBytes = 128, kTextBytes = 8192 };

typedef struct {
  char ClassName[kNameBytes];
  char Name[kNameBytes];
  int32_t Value;
  char Text[kTextBytes];
} Object;

static char g_mode[64];
static int g_modeRead;
static char g_lastError[8192];
static Object g_objects[kMaxObjects];
static int g_objectCount;
static char g_resultText[kTextBytes]; /* held until the next call */

HELPER const char* Mode(void) {
  if (!g_modeRead) {
    const char* env = getenv("ZUS_TESTMOD_MODE");
    g_modeRead = 1;
    g_mode[0] = 0;
    if (env != NULL) {
      strncpy(g_mode, env, sizeof g_mode - 1);
    } else {
      FILE* f = fopen("testmod.mode", "rb");
      if (f != NULL) {
        size_t n = fread(g_mode, 1, sizeof g_mode - 1, f);
        g_mode[n] = 0;
        g_mode[strcspn(g_mode, "\r\n")] = 0;
        fclose(f);
      }
    }
  }
  return g_mode;
}

HELPER int IsMode(const char* name) { return strcmp(Mode(), name) == 0; }

HELPER void Log(const char* line) {
  const char* path = getenv("ZUS_TESTMOD_LOG");
  FILE* f;
  if (path == NULL) {
    path = "testmod.log";
    f = fopen(path, "rb");
    if (f == NULL) return; /* only log into a file the test prepared */
    fclose(f);
  }
  f = fopen(path, "ab");
  if (f != NULL) {
    fputs(line, f);
    fputc('\n', f);
    fclose(f);
  }
}

HELPER ZuScriptXBool Fail(const char* message) {
  strncpy(g_lastError, message, sizeof g_lastError - 1);
  g_lastError[sizeof g_lastError - 1] = 0;
  return ZUSCRIPTX_FALSE;
}

HELPER ZuScriptXBool Succeed(void) {
  g_lastError[0] = 0;
  return ZUSCRIPTX_TRUE;
}

HELPER int SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = (char)(x - 32);
    if (y >= 'a' && y <= 'z') y = (char)(y - 32);
    if (x != y) return 0;
  }
  return *a == *b;
}

/* Copies a list the way a well-behaved module does: refuses a text longer
 * than size, else copies it with its NUL. The "unterminated" mode fills the
 * whole size with text and writes no NUL. */
HELPER ZuScriptXBool CopyList(const char* text, char* buffer, uint32_t size) {
  if (buffer == NULL) return Fail("Pointer to buffer is null");
  if (IsMode("unterminated")) {
    uint32_t i;
    for (i = 0; i < size; ++i) buffer[i] = (char)('A' + i % 26);
    return Succeed();
  }
  if (size < strlen(text)) return Fail("Buffer size too small");
  memcpy(buffer, text, strlen(text) + 1);
  return Succeed();
}

HELPER char* LongList(const char* unit) {
  static char text[6000];
  size_t len = strlen(unit);
  size_t at = 0;
  while (at + len < sizeof text - 1) {
    memcpy(text + at, unit, len);
    at += len;
  }
  text[at] = 0;
  return text;
}

HELPER Object* FindObject(const char* name) {
  int i;
  for (i = 0; i < g_objectCount; ++i)
    if (SameText(g_objects[i].Name, name)) return &g_objects[i];
  return NULL;
}

HELPER void SetInteger(TZuScriptXValue* v, int32_t n) {
  memset(v, 0, sizeof *v);
  v->Kind = xkInteger;
  v->Data.Integer = n;
}

HELPER void SetText(TZuScriptXValue* v, const char* text) {
  strncpy(g_resultText, text, sizeof g_resultText - 1);
  g_resultText[sizeof g_resultText - 1] = 0;
  memset(v, 0, sizeof *v);
  v->Kind = xkText;
  v->Data.Text = g_resultText;
}

/* A copy of an argument record; a text is copied into module storage
 * because the caller's pointer dies when the call returns. */
HELPER void Echo(const TZuScriptXValue* arg, TZuScriptXValue* result) {
  if (arg->Kind == xkText) {
    SetText(result, arg->Data.Text != NULL ? arg->Data.Text : "");
  } else {
    *result = *arg;
  }
}

#ifndef TESTMOD_NO_VERSION
ZUSCRIPTX_EXPORT int32_t ZUSCRIPTX_CALL ZuScriptXGetVersion(void) { return ZUSCRIPTX_VERSION; }
#endif

#ifndef TESTMOD_NO_INIT
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXInit(void) {
  g_modeRead = 0; /* a new start reads the mode again */
  Log("init");
  g_objectCount = 0;
  if (IsMode("initfail")) return Fail("Init failed on purpose");
  if (IsMode("lasterrfalse")) return Fail("never seen");
  if (IsMode("longerror")) {
    char text[5001];
    memset(text, 'E', 5000);
    text[5000] = 0;
    return Fail(text);
  }
  return Succeed();
}
#endif

#ifndef TESTMOD_NO_DONE
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXDone(void) {
  Log("done");
  g_objectCount = 0;
  return Succeed();
}
#endif

#ifndef TESTMOD_NO_CLASSES
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetClassesList(char* buffer, uint32_t size) {
  const char* text = "TCOUNTER\r\nTOTHER\r\n";
  if (IsMode("classesfail")) return Fail("No classes today");
  if (IsMode("blankclass")) text = "TA\r\n\r\nTB\r\n";
  if (IsMode("dupclass")) text = "TA\r\nta\r\n";
  if (IsMode("longclasses")) text = LongList("TLONGCLASSNAME\r\n");
  return CopyList(text, buffer, size);
}
#endif

#ifndef TESTMOD_NO_FUNCTIONS
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetFunctionsList(char* buffer,
                                                                        uint32_t size) {
  const char* text = "ADD,2\rECHO,1\rFAIL,0\rNULLTEXT,0\rARGCOUNT,0\r";
  if (IsMode("funcsfail")) return Fail("No functions today");
  if (IsMode("funcblanks")) text = " ADD , 2 \rLONELY\r";
  if (IsMode("dupfunc")) text = "ADD,2\radd,1\r";
  if (IsMode("longfuncs")) text = LongList("LONGFUNCTIONNAME,1\r");
  return CopyList(text, buffer, size);
}
#endif

#ifndef TESTMOD_NO_CREATE
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCreateObject(const char* class_name,
                                                                    const char* object_name) {
  static char message[1024];
  Object* o;
  if (class_name == NULL || object_name == NULL) return Fail("Null name");
  if (strcmp(class_name, "TCOUNTER") != 0 && strcmp(class_name, "TOTHER") != 0) {
    snprintf(message, sizeof message, "Class \"%.400s\" not defined", class_name);
    return Fail(message);
  }
  if (FindObject(object_name) != NULL) {
    snprintf(message, sizeof message, "Object \"%.400s\" already exists", object_name);
    return Fail(message);
  }
  if (g_objectCount == kMaxObjects) return Fail("Too many objects");
  o = &g_objects[g_objectCount++];
  memset(o, 0, sizeof *o);
  strncpy(o->ClassName, class_name, kNameBytes - 1);
  strncpy(o->Name, object_name, kNameBytes - 1);
  return Succeed();
}
#endif

#ifndef TESTMOD_NO_CALL
/* Methods of TCOUNTER: Inc (adds 1 and answers the value), Echo (answers its
 * first argument), ArgCount (answers the number of arguments), Kind (answers
 * the kind code of its first argument), Fail. Functions: ADD, ECHO, FAIL,
 * NULLTEXT (a text result with a null pointer), ARGCOUNT. */
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCallFunction(const char* object_name,
                                                                    const char* function_name,
                                                                    int32_t count,
                                                                    const TZuScriptXValue* args,
                                                                    TZuScriptXValue* result) {
  static char message[1024];
  if (function_name == NULL || result == NULL) return Fail("Null argument");
  if (object_name != NULL) {
    Object* o = FindObject(object_name);
    if (o == NULL) {
      snprintf(message, sizeof message, "Object \"%.400s\" not found", object_name);
      return Fail(message);
    }
    if (SameText(function_name, "Inc")) {
      SetInteger(result, ++o->Value);
    } else if (SameText(function_name, "Echo") && count >= 1) {
      Echo(&args[0], result);
    } else if (SameText(function_name, "ArgCount")) {
      SetInteger(result, count);
    } else if (SameText(function_name, "Kind") && count >= 1) {
      SetInteger(result, (int32_t)args[0].Kind);
    } else if (SameText(function_name, "Fail")) {
      return Fail("Method failed on purpose");
    } else {
      snprintf(message, sizeof message, "Method \"%.400s\" not found", function_name);
      return Fail(message);
    }
    return ZUSCRIPTX_TRUE;
  }
  if (SameText(function_name, "ADD") && count == 2 && args[0].Kind == xkInteger &&
      args[1].Kind == xkInteger) {
    SetInteger(result, args[0].Data.Integer + args[1].Data.Integer);
  } else if (SameText(function_name, "ECHO") && count == 1) {
    Echo(&args[0], result);
  } else if (SameText(function_name, "FAIL")) {
    return Fail("Function failed on purpose");
  } else if (SameText(function_name, "NULLTEXT")) {
    memset(result, 0, sizeof *result);
    result->Kind = xkText;
    result->Data.Text = NULL;
  } else if (SameText(function_name, "ARGCOUNT")) {
    SetInteger(result, count);
  } else {
    snprintf(message, sizeof message, "Bad call of \"%.400s\"", function_name);
    return Fail(message);
  }
  return ZUSCRIPTX_TRUE;
}
#endif

#ifndef TESTMOD_NO_GETPROP
/* Properties: Value (integer), Text (text). */
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   TZuScriptXValue* result) {
  static char message[1024];
  Object* o;
  if (object_name == NULL || property_name == NULL || result == NULL) return Fail("Null argument");
  o = FindObject(object_name);
  if (o == NULL) {
    snprintf(message, sizeof message, "Object \"%.400s\" not found", object_name);
    return Fail(message);
  }
  if (SameText(property_name, "Value")) {
    SetInteger(result, o->Value);
  } else if (SameText(property_name, "Text")) {
    SetText(result, o->Text);
  } else {
    snprintf(message, sizeof message, "Property \"%.400s\" not found in class \"%.100s\"",
             property_name, o->ClassName);
    return Fail(message);
  }
  return ZUSCRIPTX_TRUE;
}
#endif

#ifndef TESTMOD_NO_SETPROP
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXSetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   const TZuScriptXValue* value) {
  static char message[1024];
  Object* o;
  if (object_name == NULL || property_name == NULL || value == NULL) return Fail("Null argument");
  o = FindObject(object_name);
  if (o == NULL) {
    snprintf(message, sizeof message, "Object \"%.400s\" not found", object_name);
    return Fail(message);
  }
  if (SameText(property_name, "Value") && value->Kind == xkInteger) {
    o->Value = value->Data.Integer;
  } else if (SameText(property_name, "Text") && value->Kind == xkText) {
    strncpy(o->Text, value->Data.Text != NULL ? value->Data.Text : "", kTextBytes - 1);
  } else {
    snprintf(message, sizeof message, "Property \"%.400s\" can't be set", property_name);
    return Fail(message);
  }
  return ZUSCRIPTX_TRUE;
}
#endif

#ifndef TESTMOD_NO_LASTERROR
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetLastError(char* buffer, uint32_t size) {
  if (buffer == NULL) return ZUSCRIPTX_FALSE;
  if (IsMode("lasterrfalse")) return ZUSCRIPTX_FALSE;
  if (size < strlen(g_lastError)) strcpy(g_lastError, "Buffer size too small");
  strncpy(buffer, g_lastError, size);
  buffer[size < strlen(g_lastError) ? size : strlen(g_lastError)] = 0;
  return ZUSCRIPTX_TRUE;
}
#endif
