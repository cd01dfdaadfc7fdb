/* zuscriptx.h - the contract between the ZuScript interpreter `zus` and its
 * extension modules (such as io.zux). Usable from C (C99 or later) and C++.
 *
 * An extension module is a dynamic library that adds classes and functions to
 * ZuScript. `zus` loads it when a script says `Import name.zux;`, finds the ten
 * entry points below by their exact names and talks to the module only through
 * them. This header is the module author's manual: it declares the value
 * record that carries script values across, the entry points, their calling
 * convention, who owns every text and buffer, the order of calls and the error
 * protocol.
 *
 * Order of calls for one import:
 *   1. The library is loaded. ZuScriptXGetVersion is looked up and called
 *      (required). ZuScriptXGetLastError is looked up (required) and kept.
 *      ZuScriptXInit is looked up and called (required); FALSE aborts the
 *      import with the module's last error text.
 *   2. ZuScriptXGetClassesList, then ZuScriptXGetFunctionsList (both required).
 *      ZuScriptXCreateObject must exist when a class is listed,
 *      ZuScriptXCallFunction when a function is listed.
 *   3. While the script runs: ZuScriptXCreateObject for each `Object`
 *      declaration, then ZuScriptXCallFunction / ZuScriptXGetProperty /
 *      ZuScriptXSetProperty for that object (by name), and ZuScriptXCallFunction
 *      with a null object name for module-level functions. After every FALSE
 *      the caller calls ZuScriptXGetLastError and raises the text, unchanged,
 *      as a script error.
 *   4. At the end of the script: ZuScriptXDone (optional export), then the
 *      library is unloaded. Every object the module created must be freed by
 *      ZuScriptXDone at the latest; there is no call that deletes one object.
 *
 * Threads: all calls come one at a time from one thread. A module needs no
 * locks, but must not let anything escape an entry point: no C++ exception,
 * no longjmp. Failures are reported with FALSE plus a last-error text.
 */
#ifndef ZUSCRIPTX_H
#define ZUSCRIPTX_H

#include <stddef.h>
#include <stdint.h>

/* ---- Export and calling convention ---------------------------------------
 * ZUSCRIPTX_CALL is the calling convention of every entry point: __stdcall
 * on 32-bit Windows (the callee removes its arguments; the module must export
 * the undecorated names, e.g. with a .def file, because the host looks them up
 * as "ZuScriptXInit", not "_ZuScriptXInit@0"), nothing elsewhere, where the
 * platform's one C convention applies.
 * ZUSCRIPTX_EXPORT makes a definition visible to the host: dllexport on
 * Windows, default visibility elsewhere (so modules may be built with
 * -fvisibility=hidden). Both are combined with extern "C" linkage below. */
#if defined(_WIN32)
#if defined(_M_IX86) || defined(__i386__)
#define ZUSCRIPTX_CALL __stdcall
#else
#define ZUSCRIPTX_CALL
#endif
#define ZUSCRIPTX_EXPORT __declspec(dllexport)
#else
#define ZUSCRIPTX_CALL
#if defined(__GNUC__) || defined(__clang__)
#define ZUSCRIPTX_EXPORT __attribute__((visibility("default")))
#else
#define ZUSCRIPTX_EXPORT
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Limits -------------------------------------------------------------- */
enum {
  /* Interface version answered by ZuScriptXGetVersion (0x100). The host
   * records it but does not compare it. */
  ZUSCRIPTX_VERSION = 256,
  /* The host passes at most this many argument records to one call. */
  ZUSCRIPTX_MAX_ARGS = 64,
  /* The size the host passes to the three buffer entry points (classes list,
   * functions list, last error): at most this many characters ... */
  ZUSCRIPTX_BUFFER_SIZE = 4096,
  /* ... plus the terminating NUL: the host's buffers hold this many bytes. */
  ZUSCRIPTX_BUFFER_BYTES = ZUSCRIPTX_BUFFER_SIZE + 1
};

/* ---- Booleans ------------------------------------------------------------
 * Boolean results are 32-bit: 0 is FALSE, any other value TRUE. io.zux
 * answers -1 (all bits set) for TRUE. */
typedef int32_t ZuScriptXBool;
#define ZUSCRIPTX_FALSE ((ZuScriptXBool)0)
#define ZUSCRIPTX_TRUE ((ZuScriptXBool)-1)

/* ---- The value record ----------------------------------------------------
 * Kind codes of TZuScriptXValue. A reader treats 0 and every code above 5 as
 * Empty. */
enum {
  xkNone = 0,     /* Empty; Data is not read */
  xkBoolean = 1,  /* Data.Boolean: 0 false, 1 true (readers take nonzero as true) */
  xkInteger = 2,  /* Data.Integer: signed 32-bit */
  xkFloat = 3,    /* Data.Float: IEEE 754 double */
  xkDateTime = 4, /* Data.Float: days since 1899-12-30, time of day as the fraction */
  xkText = 5      /* Data.Text: zero-terminated 8-bit string (see ownership) */
};

/* One script value as it crosses the boundary: 12 bytes, packed, no padding.
 * An array of values is a contiguous run of records with a stride of 12.
 *
 * Kind  (offset 0, 4 bytes): one of the xk codes above.
 * Data  (offset 4, 8 bytes): the payload, interpreted by Kind. A writer sets
 *       the bytes its kind does not use to 0 (the host always does).
 *
 * Text ownership: the pointer in a text record points into storage held by
 * the sender. For arguments that is the caller's value array, valid until the
 * call returns. For a result it is storage the module keeps until its next
 * ZuScriptXCallFunction or ZuScriptXGetProperty; the host copies the text at
 * once. An empty text is a pointer to "", never NULL (readers still take NULL
 * as the empty text). A text containing a NUL character cannot cross whole: it
 * arrives cut at its first NUL. */
#if defined(_MSC_VER)
#pragma pack(push, 1)
#define ZUSCRIPTX_PACKED
#else
#define ZUSCRIPTX_PACKED __attribute__((packed))
#endif
typedef struct ZUSCRIPTX_PACKED TZuScriptXValue {
  uint32_t Kind;
  union ZUSCRIPTX_PACKED {
    int32_t Boolean;
    int32_t Integer;
    double Float;
    const char* Text;
    uint8_t Bytes[8];
  } Data;
} TZuScriptXValue;
#if defined(_MSC_VER)
#pragma pack(pop)
#endif

#ifdef __cplusplus
static_assert(sizeof(TZuScriptXValue) == 12, "TZuScriptXValue must be 12 bytes");
static_assert(offsetof(TZuScriptXValue, Data) == 4, "TZuScriptXValue.Data must be at offset 4");
#else
_Static_assert(sizeof(TZuScriptXValue) == 12, "TZuScriptXValue must be 12 bytes");
#endif

/* ---- Entry points --------------------------------------------------------
 * Texts given as arguments are zero-terminated 8-bit ANSI strings owned by the
 * caller and read only during the call.
 *
 * Buffer entry points (classes list, functions list, last error) copy at most
 * `size` characters and then a NUL, so `buffer` must hold size + 1 bytes. A
 * text exactly `size` characters long fits. The host passes
 * ZUSCRIPTX_BUFFER_SIZE with a buffer of ZUSCRIPTX_BUFFER_BYTES.
 *
 * Error protocol: the entry points from ZuScriptXGetClassesList to
 * ZuScriptXSetProperty, and ZuScriptXInit, report a failure by answering FALSE
 * and keeping a message that ZuScriptXGetLastError hands out. Successful
 * Init, Done, the two list calls and CreateObject clear the message; successful
 * CallFunction, GetProperty and SetProperty leave it as it was. Result records
 * are written only when the call answers TRUE; the caller must not read them
 * after FALSE. */

/* Interface version (io.zux: 256). Called first; no side effects. */
typedef int32_t(ZUSCRIPTX_CALL* TZuScriptXGetVersion)(void);

/* Starts the module after loading: registers its classes and functions.
 * FALSE aborts the import with the last error text. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXInit)(void);

/* Stops the module before unloading: frees every object it created, its
 * functions and its classes. Optional export; its result is ignored. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXDone)(void);

/* Copies the class names, each followed by CR LF, into `buffer` (size + 1
 * bytes). FALSE with "Pointer to buffer is null" or "Buffer size too small".
 * The host splits at CR, LF or CR LF and trims blanks around each name. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXGetClassesList)(char* buffer, uint32_t size);

/* Copies the module-level functions, each as NAME "," ARGCOUNT (decimal)
 * followed by a CR, into `buffer` (size + 1 bytes). Same failures as the
 * classes list. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXGetFunctionsList)(char* buffer, uint32_t size);

/* Creates an object of class `class_name` named `object_name` (both owned by
 * the caller). The module owns the object until ZuScriptXDone (or a later
 * ZuScriptXInit); the script refers to it only by name. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXCreateObject)(const char* class_name,
                                                              const char* object_name);

/* Calls a method of the object named `object_name`, or, when `object_name` is
 * NULL, the module-level function `function_name`. `args` points to `count`
 * records (count is 0..ZUSCRIPTX_MAX_ARGS; args is not read when count is 0).
 * On TRUE the module writes the call's result into `*result` (an Empty result
 * has kind xkNone); a text result stays valid until the module's next
 * CallFunction or GetProperty. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXCallFunction)(const char* object_name,
                                                              const char* function_name,
                                                              int32_t count,
                                                              const TZuScriptXValue* args,
                                                              TZuScriptXValue* result);

/* Reads property `property_name` of the object `object_name` into `*result`
 * (written only on TRUE; text ownership as for CallFunction). */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXGetProperty)(const char* object_name,
                                                             const char* property_name,
                                                             TZuScriptXValue* result);

/* Sets property `property_name` of the object `object_name` to `*value`; a
 * text in `*value` belongs to the caller and is read only during the call. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXSetProperty)(const char* object_name,
                                                             const char* property_name,
                                                             const TZuScriptXValue* value);

/* Copies the last error text into `buffer` (size + 1 bytes). When the text is
 * longer than `size`, it is first replaced by "Buffer size too small" (and that
 * text, cut to `size` characters, is copied). Reading does not clear it.
 * FALSE only for a NULL buffer. */
typedef ZuScriptXBool(ZUSCRIPTX_CALL* TZuScriptXGetLastError)(char* buffer, uint32_t size);

/* The exports themselves, by these exact names. A module defines all ten
 * (ZuScriptXDone may be left out); the host never links against them and
 * looks them up by name in the loaded library. */
ZUSCRIPTX_EXPORT int32_t ZUSCRIPTX_CALL ZuScriptXGetVersion(void);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXInit(void);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXDone(void);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetClassesList(char* buffer, uint32_t size);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetFunctionsList(char* buffer,
                                                                        uint32_t size);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCreateObject(const char* class_name,
                                                                    const char* object_name);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCallFunction(const char* object_name,
                                                                    const char* function_name,
                                                                    int32_t count,
                                                                    const TZuScriptXValue* args,
                                                                    TZuScriptXValue* result);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   TZuScriptXValue* result);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXSetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   const TZuScriptXValue* value);
ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetLastError(char* buffer, uint32_t size);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ZUSCRIPTX_H */
