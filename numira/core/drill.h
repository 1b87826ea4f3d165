#pragma once

namespace numira {

// The state of one run through a problem set.
struct DrillState {
    int currentNumber = 0;   // problem now shown, from 1; count + 1 after the last
    int firstTryCorrect = 0; // problems right with no wrong try and no shown answer
    bool onFirstTry = false;
    bool answerShown = false;
    bool setFinished = false;
    bool setChosen = false;
    bool mascotShowing = false;
    bool keyReleased = false;
};

// Whole percentage of first-try answers among the problems dealt with; no
// problem dealt with scores 0.
inline int ScorePercent(int firstTryCorrect, int dealtWith)
{
    return dealtWith > 0 ? firstTryCorrect * 100 / dealtWith : 0;
}

// The number the child fixes is kept within 1..100.
inline int ClampFixedCount(long long typed)
{
    return typed > 100 ? 100 : typed < 1 ? 1 : static_cast<int>(typed);
}

} // namespace numira
