#pragma once

namespace app {
class Program;
}

namespace exam {

// Draws `count` different questions of the running exam's working table at
// random into tblrandom (sl_no 1..count in the order drawn, ID the
// question's). Every question is equally likely and the cost follows the
// number of questions, not the range of their numbers. With too few
// questions it tells the candidate, leaves tblrandom empty and returns false.
// Database failures throw data::DataError.
bool DrawRandomQuestions(app::Program& program, int count);

} // namespace exam
