// Writes a standard MIDI file (format 1) from a piece's note text, so that the music the program
// ships is made at build time from notes we wrote down ourselves.
//
// The note text, one directive a line (a line starting with "#" is a comment):
//   title <text>            the sequence name
//   tempo <quarters>        quarter notes per minute
//   meter <beats>/<unit>    the time signature
//   repeat <times>          the whole piece is played this often
//   track <name>            a new part; then for it:
//     program <0-127>       General MIDI instrument
//     volume <0-127>        the part's loudness
//     velocity <1-127>      how hard its notes are struck
//     canon <part> <beats>  the notes of an earlier part (counted from 1), entering later
//     notes ...             note tokens, also on the following lines until the next directive
// Note tokens: a pitch (c d e f g a b, then "#" or "b", then the octave: c4 is middle C), "r" for a
// rest, or a chord "c4+e4+g4"; then "/" and a duration (1, 2, 4, 8, 16, 32, with dots); a token
// without a duration keeps the one before. "|" is a bar line and ignored; "|:" ... ":|" repeat once,
// "|:" ... ":|5" play the passage five times in all.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int TicksPerQuarter = 480;
constexpr int WholeTicks = TicksPerQuarter * 4;
constexpr int MicrosecondsPerMinute = 60'000'000;
constexpr int DrumChannel = 9;
constexpr int ReleaseTicks = 12; // a breath between notes, so that repeated notes are heard apart

struct TPart {
    std::string Name;
    int Program = 0;
    int Volume = 100;
    int Velocity = 80;
    int CanonOf = 0; // 1-based part, 0 for none
    double CanonBeats = 0;
    std::vector<std::string> Tokens;
};

struct TPiece {
    std::string Title;
    int Tempo = 100;
    int Beats = 4, Unit = 4;
    int Repeat = 1;
    std::vector<TPart> Parts;
};

struct TEvent {
    std::int64_t Tick;
    int Order; // note-offs before note-ons at the same tick
    std::vector<std::uint8_t> Bytes;
};

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "make_midi: " << message << "\n";
    std::exit(EXIT_FAILURE);
}

TPiece ReadPiece(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in) Fail("cannot read " + fileName);
    TPiece piece;
    std::string line;
    bool inNotes = false;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word.front() == '#') continue;
        auto part = [&]() -> TPart& {
            if (piece.Parts.empty()) Fail(fileName + ":" + std::to_string(number) + ": no track yet");
            return piece.Parts.back();
        };
        if (word == "title") {
            std::getline(words >> std::ws, piece.Title);
        } else if (word == "tempo") {
            words >> piece.Tempo;
        } else if (word == "meter") {
            char slash = 0;
            words >> piece.Beats >> slash >> piece.Unit;
        } else if (word == "repeat") {
            words >> piece.Repeat;
        } else if (word == "track") {
            piece.Parts.emplace_back();
            std::getline(words >> std::ws, piece.Parts.back().Name);
        } else if (word == "program") {
            words >> part().Program;
        } else if (word == "volume") {
            words >> part().Volume;
        } else if (word == "velocity") {
            words >> part().Velocity;
        } else if (word == "canon") {
            words >> part().CanonOf >> part().CanonBeats;
        } else if (word == "notes" || inNotes) {
            if (word != "notes") part().Tokens.push_back(word);
            while (words >> word)
                part().Tokens.push_back(word);
            inNotes = true;
            continue;
        } else {
            Fail(fileName + ":" + std::to_string(number) + ": unknown directive " + word);
        }
        inNotes = false;
        if (!words && !words.eof()) Fail(fileName + ":" + std::to_string(number) + ": bad value");
    }
    return piece;
}

int Pitch(const std::string& name) {
    static const std::map<char, int> Steps = {{'c', 0}, {'d', 2}, {'e', 4}, {'f', 5},
                                              {'g', 7}, {'a', 9}, {'b', 11}};
    const auto step = Steps.find(name.empty() ? ' ' : name[0]);
    if (step == Steps.end()) Fail("bad pitch " + name);
    std::size_t at = 1;
    int pitch = step->second;
    if (at < name.size() && name[at] == '#')
        ++pitch, ++at;
    else if (at < name.size() && name[at] == 'b')
        --pitch, ++at;
    if (at >= name.size()) Fail("pitch without octave " + name);
    const int octave = std::atoi(name.c_str() + at);
    return (octave + 1) * 12 + pitch;
}

int Duration(const std::string& text) {
    std::size_t dots = 0;
    while (dots < text.size() && text[text.size() - 1 - dots] == '.')
        ++dots;
    const int unit = std::atoi(text.substr(0, text.size() - dots).c_str());
    if (unit <= 0 || WholeTicks % unit != 0) Fail("bad duration " + text);
    int ticks = WholeTicks / unit, added = ticks;
    for (std::size_t dot = 0; dot < dots; ++dot)
        ticks += (added /= 2);
    return ticks;
}

// Repeat signs written out, and the piece's own repeats.
std::vector<std::string> Unfold(const std::vector<std::string>& tokens, int times) {
    std::vector<std::string> once;
    std::size_t repeatStart = 0;
    for (const std::string& token : tokens) {
        if (token == "|:") {
            repeatStart = once.size();
        } else if (token.rfind(":|", 0) == 0) {
            const int plays = token.size() > 2 ? std::atoi(token.c_str() + 2) : 2;
            if (plays < 1) Fail("bad repeat " + token);
            const std::vector<std::string> again(once.begin() + std::ptrdiff_t(repeatStart), once.end());
            for (int play = 1; play < plays; ++play)
                once.insert(once.end(), again.begin(), again.end());
            repeatStart = once.size();
        } else if (token != "|") {
            once.push_back(token);
        }
    }
    std::vector<std::string> all;
    for (int time = 0; time < times; ++time)
        all.insert(all.end(), once.begin(), once.end());
    return all;
}

void AddNotes(const TPart& part, const std::vector<std::string>& tokens, std::int64_t start, int channel,
              std::vector<TEvent>& events) {
    std::int64_t tick = start;
    int duration = TicksPerQuarter;
    for (const std::string& token : tokens) {
        const std::size_t slash = token.rfind('/');
        if (slash != std::string::npos) duration = Duration(token.substr(slash + 1));
        std::vector<int> pitches;
        std::istringstream chord(token.substr(0, slash));
        for (std::string note; std::getline(chord, note, '+');)
            if (note != "r") pitches.push_back(Pitch(note));
        for (int pitch : pitches) {
            if (pitch < 0 || pitch > 127) Fail("pitch out of range in " + token);
            const auto note = std::uint8_t(pitch);
            events.push_back({tick, 1, {std::uint8_t(0x90 | channel), note, std::uint8_t(part.Velocity)}});
            events.push_back({tick + duration - ReleaseTicks, 0, {std::uint8_t(0x80 | channel), note, 0}});
        }
        tick += duration;
    }
}

void AppendVariable(std::string& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int count = 0;
    do {
        bytes[count++] = std::uint8_t(value & 0x7F);
        value >>= 7;
    } while (value);
    while (count--)
        out.push_back(char(bytes[count] | (count ? 0x80 : 0)));
}

void AppendFixed(std::string& out, std::uint32_t value, int size) {
    for (int byte = size - 1; byte >= 0; --byte)
        out.push_back(char((value >> (8 * byte)) & 0xFF));
}

std::string Track(std::vector<TEvent> events) {
    std::stable_sort(events.begin(), events.end(), [](const TEvent& a, const TEvent& b) {
        return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
    });
    std::string data;
    std::int64_t last = 0;
    for (const TEvent& event : events) {
        AppendVariable(data, std::uint32_t(event.Tick - last));
        last = event.Tick;
        data.append(event.Bytes.begin(), event.Bytes.end());
    }
    data += std::string("\x00\xFF\x2F\x00", 4); // end of track
    std::string chunk = "MTrk";
    AppendFixed(chunk, std::uint32_t(data.size()), 4);
    return chunk + data;
}

TEvent Meta(std::uint8_t type, const std::string& text) {
    TEvent event{0, 0, {0xFF, type}};
    std::string length;
    AppendVariable(length, std::uint32_t(text.size()));
    event.Bytes.insert(event.Bytes.end(), length.begin(), length.end());
    event.Bytes.insert(event.Bytes.end(), text.begin(), text.end());
    return event;
}

std::string Write(const TPiece& piece) {
    std::string file = "MThd";
    AppendFixed(file, 6, 4);
    AppendFixed(file, 1, 2);
    AppendFixed(file, std::uint32_t(piece.Parts.size() + 1), 2);
    AppendFixed(file, TicksPerQuarter, 2);

    std::string tempo;
    AppendFixed(tempo, std::uint32_t(MicrosecondsPerMinute / piece.Tempo), 3);
    int unitPower = 0;
    while ((1 << unitPower) < piece.Unit)
        ++unitPower;
    const std::string meter = {char(piece.Beats), char(unitPower), 24, 8};
    file += Track({Meta(0x03, piece.Title), Meta(0x51, tempo), Meta(0x58, meter)});

    for (std::size_t index = 0; index < piece.Parts.size(); ++index) {
        const TPart& part = piece.Parts[index];
        const int channel = int(index) >= DrumChannel ? int(index) + 1 : int(index);
        std::vector<TEvent> events = {Meta(0x03, part.Name)};
        events.push_back({0, 0, {std::uint8_t(0xC0 | channel), std::uint8_t(part.Program)}});
        events.push_back({0, 0, {std::uint8_t(0xB0 | channel), 7, std::uint8_t(part.Volume)}});
        const TPart* source = &part;
        std::int64_t start = 0;
        if (part.CanonOf > 0) {
            if (std::size_t(part.CanonOf) > index) Fail("a canon follows an earlier part: " + part.Name);
            source = &piece.Parts[std::size_t(part.CanonOf - 1)];
            start = std::int64_t(part.CanonBeats * TicksPerQuarter);
        }
        AddNotes(part, Unfold(source->Tokens, piece.Repeat), start, channel, events);
        file += Track(std::move(events));
    }
    return file;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: make_midi <notes.txt> <piece.mid>\n";
        return EXIT_FAILURE;
    }
    const TPiece piece = ReadPiece(argv[1]);
    if (piece.Parts.empty() || piece.Tempo <= 0) Fail(std::string(argv[1]) + ": no parts or no tempo");
    const std::string bytes = Write(piece);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) Fail(std::string("cannot write ") + argv[2]);
    return EXIT_SUCCESS;
}
