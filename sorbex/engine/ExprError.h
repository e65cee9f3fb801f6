// The exception that carries a message number out of the expression compiler.
#pragma once

#include <exception>

namespace sorbex {

// Compile errors travel as a string-table number; CompileSearchExpression catches them
// and hands the caller the same object, whose what() is the message text.
class CExprError : public std::exception {
public:
    explicit CExprError(unsigned number) : id(number) {}

    unsigned Id() const { return id; }
    const char* what() const noexcept override;

private:
    unsigned id;
};

} // namespace sorbex
