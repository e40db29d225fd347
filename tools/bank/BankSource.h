#pragma once

#include "BankModel.h"

#include <QString>
#include <stdexcept>

namespace bank {

// A question bank that cannot be read or written. The message names the file,
// the question where there is one, and the problem:
// "banks/full/exam1.json: question 12: "catid" must be a whole number, not a string".
class BankError : public std::runtime_error {
public:
    explicit BankError(const QString& message);
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};

// Reads edition.json and every exam file it lists (paths relative to
// edition.json). Throws BankError on unreadable files, malformed JSON, a
// missing field, a field of the wrong type or an unknown field. The contents
// are not checked beyond their types: that is validate()'s job.
Edition loadBank(const QString& editionJsonPath);

} // namespace bank
