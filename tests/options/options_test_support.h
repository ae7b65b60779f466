#pragma once

#include <ostream>

#include <QString>

// GoogleTest would print a QString as its bytes.
void PrintTo(const QString& text, std::ostream* out);
