// Checks shared by the value tests: that a call fails with one VBScript
// error number.
#pragma once

#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_errors.h"

#define EXPECT_VB_ERROR(statement, number)                                              \
  do {                                                                                  \
    try {                                                                               \
      (void)(statement);                                                                \
      ADD_FAILURE() << #statement " did not fail; expected error " << (number);         \
    } catch (const ::scriptcontrol::vbscript::VbError& e) {                             \
      EXPECT_EQ(e.Number(), (number)) << #statement ": " << e.Description();            \
    }                                                                                   \
  } while (false)
