// Drives a number box with arbitrary sequences of keys, characters, pastes,
// wheel turns, focus losses, value changes and drags decoded from the input,
// and aborts when the box leaves its invariants: the value inside its range,
// caret and anchor inside the text, only accepted characters in the text, the
// value's own text after anything that shows the value. The text readers are
// cross-checked on every text the box ends up holding.
#include "toolkit/NumberEdit.h"
#include "toolkit/NumberText.h"
#include "toolkit/RoundHalfEven.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

using toolkit::EditKey;
using toolkit::NumberEdit;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

// Mostly characters a user would type, sometimes anything at all.
wchar_t PickChar(FuzzedDataProvider& input) {
    static constexpr wchar_t Likely[] = L"0123456789-+ a.\u00A0\uFF15";
    if (input.ConsumeBool()) {
        return Likely[input.ConsumeIntegralInRange<std::size_t>(0, std::size(Likely) - 2)];
    }
    return static_cast<wchar_t>(input.ConsumeIntegralInRange<std::uint32_t>(0, 0x10FFFF));
}

std::wstring PickText(FuzzedDataProvider& input) {
    std::wstring text(input.ConsumeIntegralInRange<std::size_t>(0, 40), L'\0');
    for (wchar_t& c : text) {
        c = PickChar(input);
    }
    return text;
}

float PickCoordinate(FuzzedDataProvider& input) {
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
        return input.ConsumeFloatingPoint<float>(); // also huge, infinite or NaN
    }
    return static_cast<float>(input.ConsumeIntegralInRange(-400, 400)) / 4.0f;
}

void CheckInvariants(const NumberEdit& box) {
    Check(box.Value() >= box.Minimum() && box.Value() <= box.Maximum(), "value in range");
    Check(!(box.Value() == 0 && std::signbit(box.Value())), "no negative zero");
    Check(box.Caret() <= box.Text().size(), "caret inside text");
    Check(box.SelectionAnchor() <= box.Text().size(), "anchor inside text");
    Check(box.SelectionStart() <= box.SelectionEnd(), "ordered selection");
    Check(box.SelectedText().size() == box.SelectionEnd() - box.SelectionStart(),
          "selected text matches selection");
    for (wchar_t c : box.Text()) {
        Check(NumberEdit::AcceptedChars.find(c) != std::wstring_view::npos, "accepted characters");
    }
}

void CheckShowsValue(const NumberEdit& box) {
    Check(box.Text() == toolkit::FormatWholeNumber(box.Value()), "text shows the value");
    std::optional<double> shown = toolkit::ParseNumberText(box.Text());
    Check(shown && *shown == toolkit::RoundHalfEven(box.Value()), "shown text reads back");
}

// The strict reader accepts a subset of what the commit reader accepts, and
// both agree where both read a number.
void CheckReaders(std::wstring_view text) {
    std::optional<double> number = toolkit::ParseNumberText(text);
    std::optional<std::int32_t> integer = toolkit::ParseInt32Text(text);
    if (integer) {
        Check(number && *number == *integer, "readers agree");
    }
    if (number) {
        Check(*number == toolkit::RoundHalfEven(*number), "commit reads whole numbers");
        Check(std::isfinite(*number), "commit reads finite numbers");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    double minimum = 0;
    double maximum = input.ConsumeBool() ? 100000 : 10000;
    if (input.ConsumeIntegralInRange(0, 7) == 0) {
        minimum = input.ConsumeIntegralInRange(-100000, 100000) / 8.0;
        maximum = minimum + input.ConsumeIntegralInRange(0, 200000) / 8.0;
    }
    NumberEdit box(minimum, maximum);
    CheckShowsValue(box);

    while (input.remaining_bytes() > 0) {
        double valueBefore = box.Value();
        switch (input.ConsumeIntegralInRange(0, 13)) {
        case 0:
        case 1:
            box.TypeChar(PickChar(input));
            break;
        case 2:
            box.KeyDown(static_cast<EditKey>(input.ConsumeIntegralInRange(0, 9)),
                        input.ConsumeBool());
            break;
        case 3:
            box.KeyDown(EditKey::Enter, false);
            CheckShowsValue(box);
            break;
        case 4: {
            double before = box.Value();
            box.KeyDown(EditKey::Escape, false);
            CheckShowsValue(box);
            Check(box.Value() == before, "Escape keeps the value");
            Check(box.SelectionStart() == 0 && box.SelectionEnd() == box.Text().size(),
                  "Escape selects all");
            break;
        }
        case 5: {
            std::wstring before = box.Text();
            std::wstring pasted = PickText(input);
            if (!box.Paste(pasted)) {
                Check(box.Text() == before, "refused paste changes nothing");
            }
            break;
        }
        case 6:
            box.SetCaret(input.ConsumeIntegralInRange<std::size_t>(0, 64), input.ConsumeBool());
            break;
        case 7:
            box.SelectAll();
            break;
        case 8:
            box.DeleteSelection();
            Check(!box.HasSelection(), "nothing selected after delete");
            break;
        case 9: {
            // A turn of no whole notch (a fine wheel's part-turn) is no step:
            // typed text stays as typed.
            std::wstring before = box.Text();
            const int notches = input.ConsumeIntegral<int>();
            box.Wheel(notches);
            if (notches != 0) {
                CheckShowsValue(box);
            } else {
                Check(box.Text() == before && box.Value() == valueBefore, "no notch, no step");
            }
            break;
        }
        case 10:
            box.FocusLost();
            CheckShowsValue(box);
            break;
        case 11:
            box.SetValue(input.ConsumeBool() ? input.ConsumeFloatingPoint<double>()
                                             : input.ConsumeIntegralInRange(-20000, 120000) / 4.0);
            CheckShowsValue(box);
            break;
        case 12:
            box.DragPress(PickCoordinate(input), PickCoordinate(input));
            Check(box.Value() == valueBefore, "a press alone changes nothing");
            break;
        case 13: {
            if (!box.DragMove(PickCoordinate(input), PickCoordinate(input))) {
                Check(box.Value() == valueBefore, "a click changes no value");
            } else if (box.Value() != valueBefore) {
                CheckShowsValue(box);
            }
            if (input.ConsumeIntegralInRange(0, 3) == 0) {
                box.DragRelease();
            }
            break;
        }
        }
        CheckInvariants(box);
        CheckReaders(box.Text());
    }
    return 0;
}
