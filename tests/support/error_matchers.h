// Checks that a statement raises rirerazo::RuntimeError with a given number.
#pragma once

#include <gtest/gtest.h>

#include "platform/runtime_error.h"

#define EXPECT_RUNTIME_ERROR(statement, number)                                        \
  do {                                                                                 \
    try {                                                                              \
      (void)(statement);                                                               \
      ADD_FAILURE() << #statement " raised nothing; expected error " << (number);      \
    } catch (const ::rirerazo::RuntimeError& error_) {                                 \
      EXPECT_EQ(error_.Number(), (number)) << #statement ": " << error_.Description(); \
    }                                                                                  \
  } while (false)
