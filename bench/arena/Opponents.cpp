#include "bench/arena/Opponents.h"

#include "bench/arena/opponents/Players.h"

#include <stdexcept>

namespace ttt::bench {

int pick(const std::vector<int> &cells, std::mt19937 &rng) {
    return cells[std::uniform_int_distribution<std::size_t>(0, cells.size() - 1)(rng)];
}

std::vector<int> emptyCells(const Position &p) {
    std::vector<int> out;
    for (int k = 1; k <= kCells; ++k)
        if (p.empty(k))
            out.push_back(k);
    return out;
}

double uniform(std::mt19937 &rng, double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

int below(std::mt19937 &rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

namespace {

// The one list of families. Making one is cheap: the tables family reads its files at its first game.
std::unique_ptr<Opponent> makeFamily(const std::string &name) {
    if (name == "heuristics")
        return makeHeuristic(2, Family::Heuristics);
    if (name == "forklevel")
        return makeHeuristic(2, Family::ForkLevel);
    if (name == "searchers")
        return makeSearcher(2, SearchFamily::Searchers);
    if (name == "shallow")
        return makeSearcher(2, SearchFamily::Shallow);
    if (name == "deep")
        return makeSearcher(4, SearchFamily::Deep);
    if (name == "tables")
        return makeTableFamily();
    if (name == "mcts")
        return makeMonteCarloFamily();
    return nullptr;
}

// One member of a family, drawn once from its number and kept for every game: a player of its own,
// as fixed as `forks`, so a line it wins on is won again and again.
class Member : public Opponent {
  public:
    Member(std::unique_ptr<Opponent> family, int number) : family_(std::move(family)) {
        std::mt19937 rng(static_cast<std::uint32_t>(number) * 2654435761u);
        family_->newGame(rng);
    }
    int choose(const Board &board, std::mt19937 &rng) override { return family_->choose(board, rng); }

  private:
    std::unique_ptr<Opponent> family_;
};

} // namespace

std::unique_ptr<Opponent> makeOpponent(const std::string &name) {
    if (const auto hash = name.find('#'); hash != std::string::npos) { // "forklevel#7": member 7
        const int number = memberNumber(name.substr(hash + 1));
        auto family = makeFamily(name.substr(0, hash));
        if (!family || number < 0)
            return nullptr;
        return std::make_unique<Member>(std::move(family), number);
    }
    const char *levels[] = {"random", "greedy", "forks", "threats"};
    for (int level = 0; level < 4; ++level)
        if (name == levels[level])
            return makeHeuristic(level, Family::None);
    if (name.rfind("alphabeta:", 0) == 0 && name.size() == 11 && name[10] >= '1' && name[10] <= '6')
        return makeSearcher(name[10] - '0', SearchFamily::None);
    return makeFamily(name);
}

bool isFamily(const std::string &name) { return makeFamily(name) != nullptr; }

int memberNumber(const std::string &digits) {
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(digits);
}

std::vector<std::string> opponentNames(const std::string &item) {
    const std::size_t hash = item.find('#');
    const std::size_t dash = hash == std::string::npos ? hash : item.find('-', hash);
    std::vector<std::string> out;
    if (dash == std::string::npos) {
        out.push_back(item);
    } else {
        const int from = memberNumber(item.substr(hash + 1, dash - hash - 1));
        const int to = memberNumber(item.substr(dash + 1));
        if (from < 0 || to < from)
            throw std::invalid_argument("bad member range: " + item);
        for (int n = from; n <= to; ++n)
            out.push_back(item.substr(0, hash + 1) + std::to_string(n));
    }
    for (const std::string &name : out)
        if (!makeOpponent(name))
            throw std::invalid_argument("unknown opponent: " + name);
    return out;
}

} // namespace ttt::bench
