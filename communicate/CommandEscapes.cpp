#include "communicate/CommandEscapes.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

const DumpKind kDumpKinds[kDumpKindCount] = {
    {"DURV", "Durv", DumpState::DurvAnnounced, 10003},
    {"DUR", "Durn", DumpState::DurnAnnounced, 10002},
    {"DUBVE", "Dubve", DumpState::DubveAnnounced, 10019},
    {"DUBVI", "Dubvi", DumpState::DubviAnnounced, 10020},
    {"DUBVT", "Dubvt", DumpState::DubvtAnnounced, 10021},
    {"DUBV", "Dubv", DumpState::DubvAnnounced, 10018},
    {"DUTMP", "Dutmp", DumpState::DutmpAnnounced, 10022},
    {"DUALL", "Duall", DumpState::DuallAnnounced, 10023},
};

// A stored event long enough to hold "HH:MM:SS DD/MM/YY".
constexpr std::size_t kEventLength = 17;

bool EndsDumpWord(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'V':
    case 'R':
    case 'I':
    case 'E':
    case 'T':
    case 'P':
    case 'L':
        return true;
    default:
        return false;
    }
}

std::string TwoDigits(int a, int b, int c, char sep) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", a % 100, sep, b % 100, sep, c % 100);
    return text;
}

// The place where a cut after the dump word leaves the piece: the dump
// word's last letter at `letter` - `near` or - `far`; npos when neither.
std::size_t CutPlace(const std::string& piece, std::size_t letter, std::size_t near,
                     std::size_t far) {
    for (std::size_t back : {near, far}) {
        if (letter >= back && EndsDumpWord(piece[letter - back]))
            return letter - back + 1;
    }
    return std::string::npos;
}

} // namespace

Piece NextPiece(const char* command, std::size_t size, std::size_t& pos,
                const PieceContext& context) {
    Piece out;
    std::string& piece = out.bytes;
    const bool eventEscapes = context.dumpEventCommand != 0;
    const bool haveEvent = context.dumpEvent.size() >= kEventLength;
    bool afterCaret = false;
    bool cut = false; // the piece was cut after the dump word; the rest is skipped

    while (pos < size) {
        const char c = command[pos++];
        if (c == '\0')
            return out;
        if (cut) {
            // Up to the "^M" that ends this piece nothing more is sent.
            if (afterCaret && (c == 'M' || c == 'm'))
                return out;
            afterCaret = c == '^' && !afterCaret;
            continue;
        }
        piece.push_back(c);
        if (afterCaret) {
            afterCaret = false;
            const std::size_t letter = piece.size() - 1; // place of c in the piece
            const std::size_t caret = letter - 1;
            switch (c) {
            case 'M':
            case 'm':
                piece.replace(caret, 2, "\r");
                return out;
            case 'T':
                piece.replace(
                    caret, 2,
                    TwoDigits(context.now.hour, context.now.minute, context.now.second, ':'));
                continue;
            case 'D':
                piece.replace(caret, 2,
                              TwoDigits(context.now.day, context.now.month, context.now.year, '/'));
                continue;
            case 'd':
                piece.replace(caret, 2,
                              TwoDigits(context.now.month, context.now.day, context.now.year, '/'));
                continue;
            case 't':
            case 'L': {
                if (!eventEscapes)
                    continue;
                if (haveEvent) {
                    const std::string& event = context.dumpEvent;
                    if (c == 't') {
                        piece.replace(caret, 2, event.substr(0, 5));
                        out.bookmark = true;
                        out.bookmarkHour = std::atoi(event.c_str());
                        out.bookmarkMinute = std::atoi(event.c_str() + 3);
                        out.bookmarkSecond = std::atoi(event.c_str() + 6);
                    } else {
                        out.dumpDate = event.substr(9, 8);
                        piece.replace(caret, 2, out.dumpDate);
                    }
                    continue;
                }
                const std::size_t place =
                    c == 't' ? CutPlace(piece, letter, 5, 6) : CutPlace(piece, letter, 8, 9);
                if (place != std::string::npos) {
                    piece.resize(place);
                    piece.push_back('\r');
                    cut = true;
                }
                continue;
            }
            default:
                // An escape without meaning stays as it is; its letter may
                // itself be a caret that begins the next escape, or a pause.
                if (c == '~') {
                    piece.pop_back();
                    out.pause = true;
                    return out;
                }
                afterCaret = c == '^';
                continue;
            }
        }
        if (c == '^') {
            afterCaret = true;
            continue;
        }
        if (c == '~') {
            piece.pop_back();
            out.pause = true;
            return out;
        }
    }
    return out;
}

const DumpKind& DumpKindAt(int index) {
    return kDumpKinds[index];
}

int MatchDumpWord(const std::string& piece) {
    for (int k = 0; k < kDumpKindCount; ++k) {
        const char* word = kDumpKinds[k].word;
        std::size_t i = 0;
        while (word[i] && i < piece.size() &&
               std::toupper(static_cast<unsigned char>(piece[i])) == word[i])
            ++i;
        if (word[i] == '\0')
            return k;
    }
    return -1;
}
