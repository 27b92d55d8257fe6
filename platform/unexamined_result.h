#pragma once
// Results a road leaves unexamined on purpose. Whatever answers whether it worked is
// [[nodiscard]] (the build makes a dropped one an error); where a road goes on whatever
// came back, the result goes through one of these, whose name says why, so that a result
// left unseen is a decision one can find and never a slip.

namespace varnak {

// The loads of the project's files and descriptions skip a statement that fails and go on
// with the next: a rail, a terminal or a register table takes what its file holds, keeps
// its defaults for the rest and answers 0 whatever happened.
template <class Result>
constexpr void ignoreLoadResult(const Result&) {}

// The road goes on whatever came back and tells nobody, as its description wants; the call
// names the road. What failed shows in what is read or sent next.
template <class Result>
constexpr void resultNotExamined(const Result&) {}

// The callee has told the user already (its message box), so the caller has nothing to add.
template <class Result>
constexpr void failureAlreadyShown(const Result&) {}

// The callee told every failure but one that is the user's own choice: a dialog, prompt or
// question cancelled (or a blank name given), after which nothing was done.
template <class Result>
constexpr void failureShownOrCancelled(const Result&) {}

// The callee told every failure but one: the rail or terminal it was asked for is no longer
// there (a tree node or an open dialog left from before a change), so it did nothing.
template <class Result>
constexpr void failureShownOrTargetGone(const Result&) {}

}  // namespace varnak
