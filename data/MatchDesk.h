#pragma once
// One desk records a match. Several desks may key their matches into one
// database at once, so the database itself says which connection keys which
// match (table MATCH_DESKS); desks on other computers see it too. A claim
// whose connection has ended (its program was killed) is taken over.

#include <QString>

namespace fb {
class Connection;
}

class MatchDesk
{
public:
    explicit MatchDesk(fb::Connection &db) : db_(db) {}
    ~MatchDesk();
    MatchDesk(const MatchDesk &) = delete;
    MatchDesk &operator=(const MatchDesk &) = delete;

    // Claims `match` for this connection: true when it is this connection's
    // now; false when another live connection keys it (holder() says where).
    // Throws fb::Error when the database cannot say.
    bool Claim(int match);
    // Gives the claimed match back.
    void Release();
    // Where the match is keyed, after a refused claim: "process N on this
    // computer", "the computer H, process N", or "another desk".
    QString holder() const { return holder_; }

private:
    bool insertClaim(int match);
    bool holderIsGone(int match);

    fb::Connection &db_;
    int claimed_ = 0;
    QString holder_;
};
