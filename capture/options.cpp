#include "capture/options.h"

#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace {

// The text lives in usage.txt, which tools/capture.sh prints too.
const char* const Usage =
#include "capture_usage.inc"
    ;

bool ParseInt(const char* text, int low, int high, int* value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseSeconds(const char* text, double* value) {
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(parsed) || parsed < 0.0 || parsed > 86400.0) {
        return false;
    }
    *value = parsed;
    return true;
}

bool ParseSize(const char* text, int* width, int* height) {
    static const std::regex size("([0-9]{1,5})[xX]([0-9]{1,5})");
    std::cmatch match;
    if (!std::regex_match(text, match, size)) {
        return false;
    }
    *width = std::atoi(match[1].first);
    *height = std::atoi(match[2].first);
    return true;
}

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

// One conversion of the form %d or %0Nd; any other % must be %%.
int CountFramePatterns(const std::string& name, bool* otherConversion) {
    static const std::regex conversion("%(%|0?[0-9]{0,2}d|.|$)");
    int patterns = 0;
    *otherConversion = false;
    for (auto it = std::sregex_iterator(name.begin(), name.end(), conversion); it != std::sregex_iterator(); ++it) {
        const std::string found = it->str();
        if (found == "%%") {
            continue;
        }
        if (found.back() == 'd') {
            ++patterns;
        } else {
            *otherConversion = true;
        }
    }
    return patterns;
}

}  // namespace

const char* CaptureUsage() {
    return Usage;
}

bool ParseCaptureOptions(int argc, char** argv, CaptureOptions* options, std::string* error) {
    bool sizeGiven = false;
    bool fpsGiven = false;
    bool rangeGiven = false;
    bool atGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue =
            arg == "--fps" || arg == "--size" || arg == "--from" || arg == "--to" || arg == "--at" || arg == "--sheet";
        if (takesValue && i + 1 >= argc) {
            *error = arg + " needs a value";
            return false;
        }
        const char* value = takesValue ? argv[i + 1] : nullptr;
        bool valid = true;
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            return true;
        } else if (arg == "--overwrite") {
            options->overwrite = true;
        } else if (arg == "--fps") {
            valid = ParseInt(value, 1, 240, &options->fps);
            fpsGiven = true;
        } else if (arg == "--size") {
            valid = ParseSize(value, &options->width, &options->height);
            sizeGiven = true;
        } else if (arg == "--from") {
            valid = ParseSeconds(value, &options->from);
            rangeGiven = true;
        } else if (arg == "--to") {
            valid = ParseSeconds(value, &options->to);
            rangeGiven = true;
        } else if (arg == "--at") {
            valid = ParseSeconds(value, &options->at);
            atGiven = true;
        } else if (arg == "--sheet") {
            valid = ParseInt(value, 1, 100, &options->sheetTiles);
        } else if (arg.size() > 1 && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else if (!options->out.empty()) {
            *error = "more than one output: " + options->out + " and " + arg;
            return false;
        } else {
            options->out = arg;
        }
        if (!valid) {
            *error = "not a valid value for " + arg + ": " + value;
            return false;
        }
        i += takesValue ? 1 : 0;
    }
    if (options->out.empty()) {
        *error = "no output named";
        return false;
    }
    const bool sheet = options->sheetTiles > 0;
    if (atGiven && sheet) {
        *error = "--at and --sheet do not go together";
        return false;
    }
    if ((atGiven || sheet) && rangeGiven) {
        *error = "--from and --to are for videos and image sequences";
        return false;
    }
    if (sheet && fpsGiven) {
        *error = "--fps is not for a contact sheet";
        return false;
    }
    if (options->to >= 0.0 && options->to <= options->from) {
        *error = "--to must come after --from";
        return false;
    }
    bool otherConversion = false;
    const int patterns = CountFramePatterns(options->out, &otherConversion);
    if (atGiven) {
        options->mode = CaptureOptions::Still;
    } else if (sheet) {
        options->mode = CaptureOptions::Sheet;
        if (!sizeGiven) {
            options->width = 320;
            options->height = 240;
        }
    } else {
        options->mode = patterns > 0 || otherConversion ? CaptureOptions::Sequence : CaptureOptions::Video;
    }
    return true;
}

std::string CheckOutputName(const CaptureOptions& options) {
    bool otherConversion = false;
    const int patterns = CountFramePatterns(options.out, &otherConversion);
    switch (options.mode) {
    case CaptureOptions::Video:
        if (!EndsWith(options.out, ".mp4") && !EndsWith(options.out, ".mkv") && !EndsWith(options.out, ".mov")) {
            return "cannot tell what to write from the name " + options.out +
                   ": a video ends in .mp4, .mkv or .mov, an image sequence holds a %d pattern and ends in .png";
        }
        return "";
    case CaptureOptions::Sequence:
        if (patterns != 1 || otherConversion) {
            return "an image sequence's name holds exactly one frame number pattern such as %05d (and %% for a "
                   "percent sign): " + options.out;
        }
        if (!EndsWith(options.out, ".png")) {
            return "an image sequence is written as PNG frames, so its name ends in .png: " + options.out;
        }
        return "";
    case CaptureOptions::Still:
    case CaptureOptions::Sheet:
        if (patterns > 0 || otherConversion) {
            return "a single picture's name holds no % pattern: " + options.out;
        }
        if (!EndsWith(options.out, ".png")) {
            return "stills and contact sheets are written as PNG, so the name ends in .png: " + options.out;
        }
        return "";
    }
    return "";
}
