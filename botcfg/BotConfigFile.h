#pragma once

class LineFile;
class QString;
struct BotConfigPage;

// The bot start script as the page holds it. The reader takes any file the
// bot takes: comments, empty lines and unknown keys are passed over. The
// writer always writes the one fixed form below.

// The settings a file without option lines stands for: no roster entry
// checked, the options at their usual values. The two number fields keep
// their text.
void ResetBotConfig(BotConfigPage& page);

// Applies every line of the file to the page, from the reset values on. A
// value that is not an integer (other than a bot count's) ends the read with
// EConvertError; the lines before it have taken effect.
void ReadBotConfig(LineFile& file, BotConfigPage& page);

// One line's effect: a comment or a line without a separating space has none;
// a bot count that is no integer shows as it stands.
void ApplyBotConfigLine(BotConfigPage& page, const QString& line);

// The header, a "loadbot" line per checked roster entry, the options that
// differ from their reset values, the team balance always, and the two number
// fields exactly as typed.
void WriteBotConfig(LineFile& file, const BotConfigPage& page);
