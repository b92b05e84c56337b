#include "TextArea.h"

#include "Bytes.h"
#include "ControlEventRaising.h"
#include "KeyboardInput.h"
#include "LineDifference.h"
#include "UserEdits.h"

#include <QApplication>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString crLf = QStringLiteral("\r\n");

// The document knows only line breaks between blocks. CR LF, a CR alone and
// an LF alone each become one, as each ends a line in the files, and all read
// back as CR LF.
QString DocumentTextFrom(QString text)
{
    return text.replace(crLf, QStringLiteral("\n")).replace(u'\r', u'\n');
}

// Block texts rather than toPlainText, which turns non-breaking spaces into
// blanks.
QStringList BlockTexts(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

// A line separator inside a block shows as a break, so it reads back as one.
QString TextFromBlocks(const QTextDocument& document)
{
    QStringList lines = BlockTexts(document);
    for (QString& line : lines)
        line.replace(QChar(QChar::LineSeparator), crLf);
    return lines.join(crLf);
}

struct LineAndColumn {
    qsizetype line = 0;
    qsizetype column = 0;
};

LineAndColumn LineAndColumnOf(const QStringList& lines, qsizetype position)
{
    qsizetype line = 0;
    while (line + 1 < lines.size() && position > lines.at(line).size()) {
        position -= lines.at(line).size() + 1;
        ++line;
    }
    return {line, position};
}

// A line another program changed or took away is followed to the place of
// the nearest line before it that stayed.
qsizetype LineAfterChange(const std::vector<qsizetype>& kept, qsizetype line)
{
    if (kept[std::size_t(line)] >= 0)
        return kept[std::size_t(line)];
    qsizetype before = line - 1;
    while (before >= 0 && kept[std::size_t(before)] < 0)
        --before;
    return (before >= 0 ? kept[std::size_t(before)] : -1) + line - before;
}

int PositionAfterChange(const QTextDocument& document, const QStringList& lines,
                        const std::vector<qsizetype>& kept, int position)
{
    const LineAndColumn was = LineAndColumnOf(lines, position);
    const QTextBlock block = document.findBlockByNumber(
        int(std::min<qsizetype>(LineAfterChange(kept, was.line), document.blockCount() - 1)));
    return block.position() + int(std::min<qsizetype>(was.column, block.length() - 1));
}

} // namespace

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &TextArea::ReportTextChange);
}

QString TextArea::Text() const
{
    return TextFromBlocks(*document());
}

void TextArea::SetText(const QString& text)
{
    if (text == Text())
        return;
    ReplaceDocumentText(DocumentTextFrom(text));
    RaiseEvent(OnChange);
}

void TextArea::ClearText()
{
    ReplaceDocumentText(QString());
}

void TextArea::ReplaceDocumentText(const QString& documentText)
{
    const QScopedValueRollback replacing(replacingText_, true);
    setPlainText(documentText);
    reportedText_ = Text();
}

void TextArea::ReportTextChange()
{
    if (replacingText_)
        return;
    QString text = Text();
    if (text == reportedText_)
        return;
    reportedText_ = std::move(text);
    NoteUserEdit(*this);
    RaiseUserEvent(OnChange);
}

TextArea::Place TextArea::CurrentPlace() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.anchor(), cursor.position(), verticalScrollBar()->value(),
            BlockTexts(*document())};
}

void TextArea::ReturnTo(const Place& place)
{
    const std::vector<qsizetype> kept = KeptLines(place.lines, BlockTexts(*document()));
    QTextCursor restored(document());
    restored.setPosition(PositionAfterChange(*document(), place.lines, kept, place.anchor));
    restored.setPosition(PositionAfterChange(*document(), place.lines, kept, place.position),
                         QTextCursor::KeepAnchor);
    setTextCursor(restored);
    verticalScrollBar()->setValue(place.scrolled);
}

// The document cannot drop its oldest steps, and gives back the text it keeps
// for them only when it is filled afresh; the user's place stays.
void TextArea::LimitUndoHistory()
{
    if (document()->availableUndoSteps() <= MaxUndoSteps)
        return;
    const Place place = CurrentPlace();
    ReplaceDocumentText(DocumentTextFrom(Text()));
    ReturnTo(place);
}

// Shift+Enter would otherwise insert a line separator, a break inside a
// block rather than a new line.
void TextArea::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
    } else if (IsEnterKey(*event)) {
        StartNewLine();
    } else if (!HasSingleByteForm(event->text())) {
        QApplication::beep();
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
}

void TextArea::StartNewLine()
{
    QTextCursor cursor = textCursor();
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TextArea::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    LimitUndoHistory();
    RaiseKeyUpEvent(*event, OnKeyUp);
}

void TextArea::inputMethodEvent(QInputMethodEvent* event)
{
    if (CanStandInAFile(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent withoutCommit;
    QPlainTextEdit::inputMethodEvent(&withoutCommit);
}

bool TextArea::canInsertFromMimeData(const QMimeData* source) const
{
    return CanStandInAFile(source->text()) && QPlainTextEdit::canInsertFromMimeData(source);
}

void TextArea::insertFromMimeData(const QMimeData* source)
{
    if (CanStandInAFile(source->text()))
        QPlainTextEdit::insertFromMimeData(source);
    else
        QApplication::beep();
}
