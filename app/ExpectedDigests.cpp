// The digests in the text the user copied.
#include "ExpectedDigests.h"

#include <algorithm>
#include <bitset>
#include <set>

namespace {

// Only ASCII digits count: a full-width "０" or a superscript "²" is no
// digit, whatever a conversion to the ANSI code page would make of it.
bool IsHexDigit(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

// A letter or digit of ASCII: what names and joined pairs must not touch.
bool IsWordChar(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

bool IsSeparator(wchar_t ch)
{
    return ch == L' ' || ch == L':' || ch == L'-';
}

// Characters a web page puts into long words so that they can wrap, or
// that come along with copied text, unseen: zero-width space, non-joiner
// and joiner, word joiner, byte order mark, soft hyphen.
bool IsInvisible(wchar_t ch)
{
    return ch == 0x200B || ch == 0x200C || ch == 0x200D || ch == 0x2060 || ch == 0xFEFF ||
           ch == 0x00AD;
}

char UpperAscii(wchar_t ch)
{
    return static_cast<char>(ch >= L'a' && ch <= L'z' ? ch - L'a' + L'A' : ch);
}

// The clipboard's text, copied out while the clipboard is open.
std::wstring ClipboardText()
{
    std::wstring strText;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    const wchar_t *pText = hData != NULL ? static_cast<const wchar_t *>(::GlobalLock(hData)) : NULL;
    if (pText == NULL)
        return strText;
    // The text should end in a zero, but another program wrote it: never
    // past the end of its block.
    std::size_t nMax = ::GlobalSize(hData) / sizeof(wchar_t);
    try {
        strText.assign(pText, std::find(pText, pText + nMax, L'\0'));
    } catch (...) {
        ::GlobalUnlock(hData);
        throw;
    }
    ::GlobalUnlock(hData);
    return strText;
}

} // namespace

BOOL CExpectedDigests::ReadClipboard(HWND hWndOwner)
{
    // OpenClipboard fails while another window has the clipboard open:
    // clipboard managers, the system's clipboard history and Remote
    // Desktop's clipboard helper open it right after every copy, for a
    // moment. Busy all the while is not the same as empty.
    const DWORD WAIT_MS = 750, RETRY_MS = 15;
    DWORD dwStart = ::GetTickCount();
    BOOL bOpen;
    while (!(bOpen = ::OpenClipboard(hWndOwner)) && ::GetTickCount() - dwStart < WAIT_MS)
        ::Sleep(RETRY_MS);
    std::wstring strText;
    if (bOpen) {
        try {
            strText = ClipboardText();
        } catch (...) {
            ::CloseClipboard();
            throw;
        }
        ::CloseClipboard();
    }
    Parse(strText);
    return bOpen;
}

namespace {

const std::size_t npos = std::wstring::npos;

// The length of each kind's digest in hexadecimal digits.
const std::size_t kDigestLength[DIGEST_KINDS] = {32, 40, 64, 96, 128};

// After the name of an algorithm the program does not compute, a run this
// long is that algorithm's digest (a CRC-32 has 8 digits); a shorter one is
// a number, such as a version.
const std::size_t kMinOtherDigest = 8;

// A run this long takes what the name before it says: a run after it is
// no longer named by it. Shorter ones ("0x", "256 bit") leave the name be.
const std::size_t kMinNamedRun = 16;

int KindOfLength(std::size_t nLength)
{
    for (int nKind = 0; nKind < DIGEST_KINDS; nKind++)
        if (kDigestLength[nKind] == nLength)
            return nKind;
    return -1;
}

// The lengths of a digest with a digit missed or one too many when
// selecting, and of a SHA-224.
bool IsNearMiss(std::size_t nLength)
{
    switch (nLength) {
    case 31: case 33: case 39: case 41: case 56: case 63: case 65:
    case 95: case 97: case 127: case 129:
        return true;
    default:
        return false;
    }
}

// A sequence of pairs one pair longer than a digest.
bool IsWindowed(std::size_t nPairs)
{
    return nPairs > 1 && KindOfLength(2 * (nPairs - 1)) >= 0;
}

// Matches the name pattern p at s[i] up to the end of a word; returns where
// the name ends, or npos. Letters and digits in p match themselves in any
// case; '~' is an optional "-", "_" or " ", '^' an optional "2" (the SHA-2
// family's), '/' one of "/", "_" or "-"; '#' takes any digits, and '+' an
// optional size such as "-256".
std::size_t MatchName(const char *p, const std::wstring &s, std::size_t i)
{
    const wchar_t ch = i < s.size() ? s[i] : L'\0';
    std::size_t nEnd;
    switch (*p) {
    case '\0':
        return IsWordChar(ch) ? npos : i;
    case '~':
        if ((ch == L'-' || ch == L'_' || ch == L' ') && (nEnd = MatchName(p + 1, s, i + 1)) != npos)
            return nEnd;
        return MatchName(p + 1, s, i);
    case '^':
        if (ch == L'2' && (nEnd = MatchName(p + 1, s, i + 1)) != npos)
            return nEnd;
        return MatchName(p + 1, s, i);
    case '/':
        return ch == L'/' || ch == L'_' || ch == L'-' ? MatchName(p + 1, s, i + 1) : npos;
    case '#':
        while (i < s.size() && s[i] >= L'0' && s[i] <= L'9')
            i++;
        return MatchName(p + 1, s, i);
    case '+':
        if ((ch == L'-' || ch == L'_' || ch == L'/') && i + 1 < s.size() && s[i + 1] >= L'0' &&
            s[i + 1] <= L'9' && (nEnd = MatchName("#", s, i + 1)) != npos)
            return nEnd;
        return MatchName(p + 1, s, i);
    default:
        return UpperAscii(ch) == *p ? MatchName(p + 1, s, i + 1) : npos;
    }
}

// The names of algorithms, longer forms first; whether the program does not
// compute it. Those it computes name the digests the length tells anyway;
// they matter for ending the reach of a name before them, and for not
// taking "SHA-384" for "SHA-3" or "SHA-512/256" for SHA-512.
const struct {
    const char *pszPattern;
    bool bUnsupported;
} kNames[] = {
    {"SHA~^~512/224", true}, {"SHA~^~512/256", true}, {"SHA~^~224", true},
    {"SHA~^~256", false},    {"SHA~^~384", false},    {"SHA~^~512", false},
    {"SHA~1", false},        {"SHA~2", false},        {"SHA~3+", true},
    {"MD5", false},          {"MD4+", true},          {"MD2+", true},
    {"BLAKE2B#+", true},     {"BLAKE2S#+", true},     {"BLAKE2BP+", true},
    {"BLAKE2SP+", true},     {"BLAKE2+", true},       {"BLAKE3+", true},
    {"KECCAK#+", true},      {"SM3+", true},          {"RIPEMD#+", true},
    {"WHIRLPOOL+", true},    {"STREEBOG#+", true},    {"GOST#+", true},
    {"XXHASH#+", true},      {"XXH#+", true},         {"CRC#+", true},
};

// The name of an algorithm at s[i], if one starts there: where it ends, and
// whether the program does not compute it.
std::size_t FindName(const std::wstring &s, std::size_t i, bool *pbUnsupported)
{
    if (i > 0 && IsWordChar(s[i - 1]))
        return npos; // a name is a whole word
    for (const auto &name : kNames) {
        std::size_t nEnd = MatchName(name.pszPattern, s, i);
        if (nEnd != npos) {
            *pbUnsupported = name.bUnsupported;
            return nEnd;
        }
    }
    return npos;
}

// Whether s[nFrom, nTo) is exactly one line break.
bool IsLineBreak(const std::wstring &s, std::size_t nFrom, std::size_t nTo)
{
    const std::wstring strBreak = s.substr(nFrom, nTo - nFrom);
    return strBreak == L"\r\n" || strBreak == L"\n" || strBreak == L"\r";
}

} // namespace

// What the digits of a run are, after the name that applies to it.
CExpectedDigests::CDigest CExpectedDigests::Read(const std::string &strDigits, std::size_t nPairs,
                                                 bool bNamedUnsupported)
{
    CDigest digest;
    const bool bWindowed = IsWindowed(nPairs);
    const std::size_t nLength = bWindowed ? strDigits.size() - 2 : strDigits.size();
    if (bNamedUnsupported) {
        if (nLength >= kMinOtherDigest)
            m_bUnsupported = TRUE;
        return digest;
    }
    digest.nKind = KindOfLength(nLength);
    if (digest.nKind < 0)
        return digest;
    m_nKinds |= 1u << digest.nKind;
    if (bWindowed) {
        digest.values.push_back(strDigits.substr(0, nLength));
        digest.values.push_back(strDigits.substr(2));
    } else {
        digest.values.push_back(strDigits);
    }
    return digest;
}

void CExpectedDigests::Parse(const std::wstring &strText)
{
    m_runs.clear();
    m_nKinds = 0;
    m_bUnsupported = FALSE;
    m_nNearMissLength = 0;

    std::wstring strSeen;
    strSeen.reserve(strText.size());
    for (wchar_t ch : strText) {
        if (!IsInvisible(ch))
            strSeen += ch;
    }

    // The runs, each with where it is, its digits in upper case, how many
    // pairs it joined (0: none), and whether the last name before it on its
    // line is of an algorithm the program does not compute.
    struct CFound {
        std::size_t nStart, nEnd;
        std::string strDigits;
        std::size_t nPairs;
        bool bNamedUnsupported;
    };
    std::vector<CFound> found;
    bool bNamedUnsupported = false; // by the name that applies next
    for (std::size_t i = 0; i < strSeen.size();) {
        const wchar_t ch = strSeen[i];
        std::size_t nEnd;
        bool bUnsupported;
        if (ch == L'\r' || ch == L'\n') {
            bNamedUnsupported = false; // a name applies on its line
            i++;
        } else if ((nEnd = FindName(strSeen, i, &bUnsupported)) != npos) {
            bNamedUnsupported = bUnsupported; // its hex letters are no run
            i = nEnd;
        } else if (!IsHexDigit(ch)) {
            i++;
        } else {
            CFound run = {i, i, std::string(), 0, bNamedUnsupported};
            while (i < strSeen.size() && IsHexDigit(strSeen[i]))
                run.strDigits += UpperAscii(strSeen[i++]);
            // A pair that starts a word, and the pairs joined to it.
            if (i - run.nStart == 2 && (run.nStart == 0 || !IsWordChar(strSeen[run.nStart - 1]))) {
                for (run.nPairs = 1; i + 2 < strSeen.size() && IsSeparator(strSeen[i]) &&
                                     IsHexDigit(strSeen[i + 1]) && IsHexDigit(strSeen[i + 2]) &&
                                     (i + 3 == strSeen.size() || !IsHexDigit(strSeen[i + 3]));
                     run.nPairs++, i += 3) {
                    run.strDigits += UpperAscii(strSeen[i + 1]);
                    run.strDigits += UpperAscii(strSeen[i + 2]);
                }
            }
            run.nEnd = i;
            if (run.strDigits.size() >= kMinNamedRun)
                bNamedUnsupported = false;
            found.push_back(run);
        }
    }

    m_runs.resize(found.size());
    for (std::size_t n = 0; n < found.size(); n++) {
        CFound &run = found[n];
        if (n > 0 && m_runs[n - 1].bJoinsNext) {
            // The rest of the digest on the line before: named as it is.
            run.bNamedUnsupported = found[n - 1].bNamedUnsupported;
        }
        m_runs[n].alone = Read(run.strDigits, run.nPairs, run.bNamedUnsupported);
        if (n + 1 < found.size()) {
            const CFound &next = found[n + 1];
            const std::size_t nLength = run.strDigits.size() + next.strDigits.size();
            if (!IsWindowed(run.nPairs) && !IsWindowed(next.nPairs) && (nLength == 96 || nLength == 128) &&
                IsLineBreak(strSeen, run.nEnd, next.nStart)) {
                m_runs[n].bJoinsNext = TRUE;
                m_runs[n].joined = Read(run.strDigits + next.strDigits, 0, run.bNamedUnsupported);
            }
        }
    }

    if (m_nKinds == 0 && !m_bUnsupported) {
        for (const CFound &run : found) {
            if (IsNearMiss(run.strDigits.size())) {
                if (m_nNearMissLength != 0) {
                    m_nNearMissLength = 0; // more than one: none to speak of
                    break;
                }
                m_nNearMissLength = static_cast<int>(run.strDigits.size());
            }
        }
    }
}

namespace {

// A reading, as far as a verdict goes: the kinds it holds (the low bits)
// and those of them that a value matched (the bits above).
const unsigned kHeld = (1u << DIGEST_KINDS) - 1;

bool Passes(unsigned nReading)
{
    return (nReading & kHeld) != 0 && (nReading >> DIGEST_KINDS) == (nReading & kHeld);
}

unsigned Failed(unsigned nReading)
{
    return nReading & kHeld & ~(nReading >> DIGEST_KINDS);
}

void AddReading(std::vector<unsigned> &readings, unsigned nReading)
{
    if (std::find(readings.begin(), readings.end(), nReading) == readings.end())
        readings.push_back(nReading);
}

} // namespace

CExpectedDigests::CVerdict CExpectedDigests::Judge(const std::string digests[DIGEST_KINDS]) const
{
    auto state = [&](const CDigest &digest) -> unsigned {
        if (digest.nKind < 0 || digests[digest.nKind].empty())
            return 0; // not computed here: left aside
        unsigned nState = 1u << digest.nKind;
        if (std::find(digest.values.begin(), digest.values.end(), digests[digest.nKind]) !=
            digest.values.end())
            nState |= nState << DIGEST_KINDS;
        return nState;
    };

    unsigned nPlain = 0;
    for (const CRun &run : m_runs)
        nPlain |= state(run.alone);
    if (Passes(nPlain))
        return {TRUE, nPlain & kHeld, std::string()};

    // Every reading: runs are read alone or joined to the next, and readings
    // differ only in what they hold and match, so the distinct states of the
    // readings of the runs so far are few (at most 3 to the 5th).
    std::vector<unsigned> before, now(1, 0u); // up to the run before, up to this one
    for (std::size_t n = 0; n < m_runs.size(); n++) {
        std::vector<unsigned> next;
        for (unsigned nReading : now)
            AddReading(next, nReading | state(m_runs[n].alone));
        if (n > 0 && m_runs[n - 1].bJoinsNext) {
            for (unsigned nReading : before)
                AddReading(next, nReading | state(m_runs[n - 1].joined));
        }
        before.swap(now);
        now.swap(next);
    }

    // Passed by another reading: the one with the most kinds.
    std::size_t nMostKinds = 0;
    unsigned nPassed = 0;
    unsigned nFailedAnywhere = 0;
    for (unsigned nReading : now) {
        const unsigned nHeld = nReading & kHeld;
        const std::size_t nKinds = std::bitset<DIGEST_KINDS>(nHeld).count();
        if (Passes(nReading) && (nKinds > nMostKinds || (nKinds == nMostKinds && nHeld < nPassed))) {
            nMostKinds = nKinds;
            nPassed = nHeld;
        }
        nFailedAnywhere |= Failed(nReading);
    }
    if (nPassed != 0)
        return {TRUE, nPassed, std::string()};

    // Failed: what the plain reading holds; if nothing, what the runs joined
    // across lines hold.
    CVerdict verdict = {FALSE, Failed(nPlain), std::string()};
    const bool bPlain = verdict.nKinds != 0;
    if (!bPlain)
        verdict.nKinds = nFailedAnywhere;
    for (int nKind = 0; nKind < DIGEST_KINDS; nKind++) {
        if (verdict.nKinds != 1u << nKind)
            continue;
        // The one value of the kind that failed, if there is just one.
        std::set<std::string> values;
        for (const CRun &run : m_runs) {
            const CDigest &digest = bPlain ? run.alone : run.joined;
            if ((bPlain || run.bJoinsNext) && digest.nKind == nKind) {
                if (digest.values.size() != 1)
                    return verdict; // windows: either may be meant
                values.insert(digest.values.front());
            }
        }
        if (values.size() == 1)
            verdict.strValue = *values.begin();
    }
    return verdict;
}
