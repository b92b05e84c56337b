#include "ChatHelp.h"

// Lines short enough to fit the window's text area unfolded.
QString ChatHelpText()
{
    return QStringLiteral(
        "Start by choosing the mod, then the kind of chat you want to edit.\n"
        "\n"
        "Each line of the list is one chat item that the bots may say. In some kinds, such as the\n"
        "lines said after killing an enemy, the code %n stands where the enemy's name is to go.\n"
        "\n"
        "%n, you should have stayed in bed!\n"
        "\n"
        "(the bot kills an enemy called Barney)\n"
        "\n"
        "Barney, you should have stayed in bed!\n"
        "\n"
        "Replies work differently: the bot adds the name of the player it answers to the end of the\n"
        "line by itself, so %n does not work in replies.\n"
        "\n"
        "I could not agree more\n"
        "\n"
        "(the bot answers a player called Barney)\n"
        "\n"
        "I could not agree more Barney\n"
        "\n"
        "Each chat kind can hold up to 100 chat items.");
}
