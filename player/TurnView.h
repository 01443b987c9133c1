#pragma once

#include "model/GameState.h"

#include <cstdint>
#include <string>

namespace ttt {

// What the computer's turn needs of the window. The window implements it; tests record it.
class TurnView {
  public:
    virtual ~TurnView() = default;
    // Draws the request in state.drawcell / drawmark / drawcolor: the text first, then the colour.
    virtual void graph(const GameState &state) = 0;
    virtual void setStatusCaption(const std::string &caption) = 0;
    virtual void setStatusColor(std::int32_t color) = 0;
};

} // namespace ttt
