#include "duk_desklet.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "script_error.h"

namespace jsengines {

namespace {

constexpr const char* kPreparedKey = "\xFF" "prepared";

// Only reached for an error outside every protected call; there is no way
// back into the caller.
void Fatal(void*, const char* message) {
  std::fprintf(stderr, "Duktape: fatal error: %s\n", message ? message : "(none)");
  std::abort();
}

duk_ret_t HostAdd(duk_context* ctx) {
  duk_push_number(ctx, duk_to_number(ctx, 0) + duk_to_number(ctx, 1));
  return 1;
}

bool IsValueKey(duk_context* ctx, duk_idx_t key) {
  return duk_is_string(ctx, key) && !duk_is_symbol(ctx, key) && std::strcmp(duk_get_string(ctx, key), "Value") == 0;
}

// [target, key, receiver]
duk_ret_t HostGet(duk_context* ctx) {
  if (!IsValueKey(ctx, 1)) return 0;
  duk_push_int(ctx, DukDesklet::Of(ctx).ReadHostValue());
  return 1;
}

// [target, key, value, receiver]
duk_ret_t HostSet(duk_context* ctx) {
  if (!IsValueKey(ctx, 1)) return duk_type_error(ctx, "host has no property %s", duk_safe_to_string(ctx, 1));
  DukDesklet::Of(ctx).WriteHostValue(duk_to_int32(ctx, 2));
  duk_push_true(ctx);
  return 1;
}

duk_ret_t HostHas(duk_context* ctx) {
  duk_push_boolean(ctx, IsValueKey(ctx, 1));
  return 1;
}

duk_ret_t DefineHostUnsafe(duk_context* ctx, void*) {
  duk_push_c_function(ctx, HostAdd, 2);
  duk_put_global_string(ctx, "hostAdd");
  duk_push_object(ctx);  // the proxy's target
  duk_push_object(ctx);  // its handler
  duk_push_c_function(ctx, HostGet, 3);
  duk_put_prop_string(ctx, -2, "get");
  duk_push_c_function(ctx, HostSet, 4);
  duk_put_prop_string(ctx, -2, "set");
  duk_push_c_function(ctx, HostHas, 2);
  duk_put_prop_string(ctx, -2, "has");
  duk_push_proxy(ctx, 0);
  duk_put_global_string(ctx, "host");
  duk_push_global_stash(ctx);
  duk_push_array(ctx);
  duk_put_prop_string(ctx, -2, kPreparedKey);
  duk_pop(ctx);
  return 0;
}

}  // namespace

DukDesklet::DukDesklet(const char* script) : heap_(duk_create_heap(nullptr, nullptr, nullptr, this, Fatal)) {
  if (!heap_) throw std::runtime_error("Duktape cannot create a heap");
  duk_context* ctx = heap_.get();
  if (duk_safe_call(ctx, DefineHostUnsafe, nullptr, 0, 1) != DUK_EXEC_SUCCESS) Fail();
  duk_pop(ctx);
  duk_push_string(ctx, "desklet.js");
  if (duk_pcompile_string_filename(ctx, 0, script) != DUK_EXEC_SUCCESS) Fail();
  if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) Fail();
  duk_pop(ctx);
}

DukDesklet& DukDesklet::Of(duk_context* ctx) {
  duk_memory_functions functions{};
  duk_get_memory_functions(ctx, &functions);
  return *static_cast<DukDesklet*>(functions.udata);
}

double DukDesklet::Call(const char* function, double a, double b) {
  duk_context* ctx = heap_.get();
  duk_get_global_string(ctx, function);
  duk_push_number(ctx, a);
  duk_push_number(ctx, b);
  if (duk_pcall(ctx, 2) != DUK_EXEC_SUCCESS) Fail();
  const double result = duk_get_number_default(ctx, -1, 0.0);
  duk_pop(ctx);
  return result;
}

void DukDesklet::Execute(const char* text) {
  duk_context* ctx = heap_.get();
  if (duk_peval_string(ctx, text) != DUK_EXEC_SUCCESS) Fail();
  duk_pop(ctx);
}

double DukDesklet::Evaluate(const char* text) {
  duk_context* ctx = heap_.get();
  if (duk_peval_string(ctx, text) != DUK_EXEC_SUCCESS) Fail();
  const double result = duk_is_number(ctx, -1) ? duk_get_number(ctx, -1) : std::nan("");
  duk_pop(ctx);
  return result;
}

size_t DukDesklet::Prepare(const char* text) {
  duk_context* ctx = heap_.get();
  duk_push_string(ctx, "statement");
  if (duk_pcompile_string_filename(ctx, DUK_COMPILE_EVAL, text) != DUK_EXEC_SUCCESS) Fail();
  duk_push_global_stash(ctx);
  duk_get_prop_string(ctx, -1, kPreparedKey);
  duk_dup(ctx, -3);
  duk_put_prop_index(ctx, -2, prepared_);
  duk_pop_3(ctx);
  return prepared_++;
}

void DukDesklet::RunPrepared(size_t index) {
  duk_context* ctx = heap_.get();
  duk_push_global_stash(ctx);
  duk_get_prop_string(ctx, -1, kPreparedKey);
  duk_get_prop_index(ctx, -1, static_cast<duk_uarridx_t>(index));
  duk_remove(ctx, -2);
  duk_remove(ctx, -2);
  if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) Fail();
  duk_pop(ctx);
}

void DukDesklet::CollectGarbage() {
  // Twice, as Duktape's documentation advises, so that objects revived by
  // finalizers go too.
  duk_gc(heap_.get(), 0);
  duk_gc(heap_.get(), 0);
}

void DukDesklet::Fail() {
  duk_context* ctx = heap_.get();
  // stack: [... error]
  int line = 0;
  if (duk_is_object(ctx, -1)) {
    duk_get_prop_string(ctx, -1, "lineNumber");
    line = duk_is_number(ctx, -1) ? duk_get_int(ctx, -1) : 0;
    duk_pop(ctx);
  }
  std::string message = duk_safe_to_string(ctx, -1);
  duk_pop(ctx);
  throw ScriptError(message, line, false);
}

}  // namespace jsengines
