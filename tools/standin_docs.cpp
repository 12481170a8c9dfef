// The stand-in documents: a ReadMe, a WinHelp contents file, a help file shaped like a WinHelp
// 3.1 file (uncompressed topics, as a help compiler writes them without compression) and the
// program's tips. Their text is made from sentence patterns about the product.
#include <cstdio>
#include <cstdlib>

#include "standin.h"

const char *const kTopicTitles[] = {
    "Introducing Tone Pilot", "What's new in this release", "System requirements",
    "Playing a disc", "Pausing and resuming", "Stopping playback", "Skipping tracks",
    "Searching within a track", "Ejecting the disc", "Random order", "Repeating a track",
    "Repeating the whole disc", "Intro scan", "The display", "Elapsed and remaining time",
    "Track and disc titles", "Editing the play list", "Saving a play list",
    "Volume and balance", "Using the mixer", "Muting the sound", "Choosing a CD-ROM drive",
    "Several drives", "Keyboard shortcuts", "Mouse shortcuts", "The toolbar", "The status bar",
    "Always on top", "Starting with Windows", "Audio CD AutoPlay", "Preferences", "Colors and skins",
    "Time display options", "Disc database", "Troubleshooting",
    "No sound from the speakers", "The disc is not recognized", "Playback skips", "Error messages",
    "Uninstalling Tone Pilot", "Technical support", "Copyright and license",
};
const int kTopicCount = (int)(sizeof kTopicTitles / sizeof kTopicTitles[0]);

namespace {

const char *const kSubjects[] = {
    "Tone Pilot", "The play list", "The display", "The toolbar", "The mixer", "Each track",
    "The status bar", "The current disc", "Random order", "Intro scan", "The time display",
    "The disc database", "Your CD-ROM drive", "The volume control", "The balance slider",
};
const char *const kVerbs[] = {
    "shows", "remembers", "keeps", "plays", "lists", "saves", "skips", "repeats", "updates",
    "reads", "stores", "changes", "restores", "marks", "selects",
};
const char *const kObjects[] = {
    "the title of every track", "the elapsed time", "the remaining time of the disc",
    "the order you chose", "your favourite tracks", "the last position on the disc",
    "the name of the artist", "the number of tracks", "the volume of each channel",
    "the tracks you left out", "the settings of each drive", "the colors of the window",
};
const char *const kClauses[] = {
    "when you insert a disc", "while the disc plays", "until you eject the disc",
    "each time Windows starts", "as soon as the track ends", "after you close the window",
    "when you press F5", "if the drive supports it", "for every disc it has seen before",
    "unless you turn this option off", "while another program uses the sound card",
};
const char *const kAdvice[] = {
    "To change this, choose Preferences from the Options menu.",
    "Press the right mouse button on the display to see more choices.",
    "You can also use the keyboard: Ctrl+P plays and Ctrl+S stops.",
    "See Troubleshooting if nothing happens.",
    "The setting takes effect at once; you do not need to restart Tone Pilot.",
    "Drag a track with the mouse to move it within the play list.",
    "Hold down Shift to select several tracks at a time.",
    "This option is off when you first install Tone Pilot.",
};

template <size_t N>
const char *Pick(Sequence &random, const char *const (&list)[N])
{
    return list[random.Next() % N];
}

std::string Upper(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        else if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            c = '_';
    return text;
}

// Fills `text` to exactly `size` bytes with a closing line made of `fill`, or refuses.
std::string FillTo(std::string text, size_t size, const std::string &lead, char fill)
{
    if (text.size() + lead.size() + 2 > size) {
        std::fprintf(stderr, "mkstandin: text of %zu bytes does not fit %zu\n", text.size(), size);
        std::exit(1);
    }
    text += lead;
    text.append(size - text.size() - 2, fill);
    return text + "\r\n";
}

}  // namespace

std::string ContextId(const char *title)
{
    return "IDH_" + Upper(title);
}

std::string HelpSentence(Sequence &random)
{
    switch (random.Next() % 4) {
    case 0:
        return std::string(Pick(random, kSubjects)) + " " + Pick(random, kVerbs) + " " + Pick(random, kObjects) +
               " " + Pick(random, kClauses) + ".";
    case 1:
        return std::string(Pick(random, kAdvice));
    case 2: {
        std::string clause = Pick(random, kClauses);
        clause[0] = (char)(clause[0] - 'a' + 'A');
        std::string subject = Pick(random, kSubjects);
        if (subject.compare(0, 4, "Tone") != 0)
            subject[0] = (char)(subject[0] - 'A' + 'a');
        return clause + ", " + subject + " " + Pick(random, kVerbs) + " " + Pick(random, kObjects) +
               ".";
    }
    default:
        return std::string("If you want Tone Pilot to keep ") + Pick(random, kObjects) + ", make sure " +
               Pick(random, kObjects) + " is not changed " + Pick(random, kClauses) + ".";
    }
}

std::string HelpParagraph(Sequence &random, int sentences)
{
    std::string text;
    for (int i = 0; i < sentences; ++i)
        text += (i ? " " : "") + HelpSentence(random);
    return text;
}

Bytes ReadMe(size_t size)
{
    std::string text =
        "Tone Pilot\r\n"
        "==========\r\n"
        "\r\n"
        "Thank you for choosing Tone Pilot, the audio CD player that remembers your\r\n"
        "discs. This file holds late news that did not make it into the help file.\r\n"
        "\r\n"
        "Changes in this release\r\n"
        "-----------------------\r\n"
        "* The play list can now hold up to 99 tracks per disc.\r\n"
        "* Intro scan plays the first ten seconds of each track; F8 turns it on.\r\n"
        "* The display shows the remaining time of the disc as well as the track.\r\n"
        "* Titles are saved as soon as you type them, not when Tone Pilot closes.\r\n"
        "\r\n"
        "Installing\r\n"
        "----------\r\n"
        "Run SETUP.EXE and confirm the directory it proposes, or type another one.\r\n"
        "Setup copies six files, makes a program group in the Start menu and, if you\r\n"
        "wish, a shortcut on the desktop. It also makes Tone Pilot the player that\r\n"
        "Windows starts when you insert an audio CD.\r\n"
        "\r\n"
        "Removing\r\n"
        "--------\r\n"
        "Open Add/Remove Programs in the Control Panel, select Tone Pilot and press\r\n"
        "Add/Remove. The CD Player of Windows plays your discs again afterwards.\r\n"
        "\r\n"
        "Known problems\r\n"
        "--------------\r\n"
        "* Some older CD-ROM drives report the length of the last track wrongly. The\r\n"
        "  remaining time of the disc may then be off by a few seconds.\r\n"
        "* If the sound comes only from one speaker, check the balance slider in the\r\n"
        "  Windows mixer as well as the one in Tone Pilot.\r\n"
        "* With two drives, Tone Pilot plays the first one unless you pick another\r\n"
        "  under Options, Preferences, Drive.\r\n"
        "* Titles you typed in an earlier release are kept; choose Import Titles from\r\n"
        "  the Disc menu if they do not show.\r\n"
        "\r\n"
        "Files\r\n"
        "-----\r\n"
        "  TNPREAD.TXT   this file\r\n"
        "  TNP.HLP       the help file; press F1 in Tone Pilot to open it\r\n"
        "  TNP.CNT       the contents of the help file\r\n"
        "  TNP.EXE       the program\r\n"
        "  TNP32HLP.DLL  help support for 32-bit Windows\r\n"
        "  TNP16HLP.DLL  help support for the 16-bit help engine\r\n"
        "\r\n"
        "Keyboard\r\n"
        "--------\r\n"
        "  Ctrl+P  play or pause        Ctrl+S  stop\r\n"
        "  Ctrl+N  next track           Ctrl+B  previous track\r\n"
        "  Ctrl+E  eject                Ctrl+R  random order on or off\r\n"
        "  F5      repeat               F1      help\r\n"
        "\r\n"
        "Support\r\n"
        "-------\r\n"
        "Questions and reports are welcome. Please say which release of Windows you\r\n"
        "use, which CD-ROM drive you have and what Tone Pilot showed on the display\r\n"
        "when the problem appeared. The version number is under Help, About.\r\n"
        "\r\n"
        "Enjoy the music!\r\n"
        "\r\n";
    text = FillTo(text, size, "", '=');
    return Bytes(text.begin(), text.end());
}

Bytes HelpContents(size_t size)
{
    static const struct {
        int first;
        const char *heading;
    } kHeadings[] = {{0, "Getting started"}, {3, "Playing discs"}, {13, "The display and titles"},
                     {18, "Sound"}, {21, "Drives"}, {23, "Working faster"}, {30, "Settings"},
                     {34, "Troubleshooting"}, {39, "About Tone Pilot"}};
    std::string text = ":Base tnp.hlp>main\r\n:Title Tone Pilot Help\r\n:Index Tone Pilot Help=tnp.hlp\r\n";
    int heading = 0;
    for (int t = 0; t < kTopicCount; ++t) {
        if (heading < (int)(sizeof kHeadings / sizeof kHeadings[0]) && kHeadings[heading].first == t)
            text += std::string("1 ") + kHeadings[heading++].heading + "\r\n";
        text += std::string("2 ") + kTopicTitles[t] + "=" + ContextId(kTopicTitles[t]) + "\r\n";
    }
    text = FillTo(text, size, "; ", '-');
    return Bytes(text.begin(), text.end());
}

Bytes TipStrings()
{
    Sequence random{23};
    std::string script = "// Tips shown at start-up, generated by mkstandin.\r\nSTRINGTABLE\r\nBEGIN\r\n";
    for (int id = 0; id < 320; ++id) {
        std::string tip = HelpParagraph(random, 1 + (int)(random.Next() % 2));
        script += "    " + std::to_string(2000 + id) + ", \"" + tip + "\"\r\n";
    }
    script += "END\r\n";
    return Bytes(script.begin(), script.end());
}

Bytes ContextStrings()
{
    std::string script = "// Help topics' context names and titles, generated by mkstandin.\r\nSTRINGTABLE\r\nBEGIN\r\n";
    for (int t = 0; t < kTopicCount; ++t)
        script += "    " + std::to_string(1000 + t) + ", \"" + ContextId(kTopicTitles[t]) + "\"\r\n";
    for (int t = 0; t < kTopicCount; ++t)
        script += "    " + std::to_string(1500 + t) + ", \"" + kTopicTitles[t] + "\"\r\n";
    script += "END\r\n";
    return Bytes(script.begin(), script.end());
}
