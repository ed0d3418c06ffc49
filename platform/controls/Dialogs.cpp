#include "Dialogs.h"

#include "Forms.h"
#include "QtBridge.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>
#include <vector>

using namespace ctlqt;

namespace {

TDialogAnswerer& Answerer()
{
    static TDialogAnswerer answerer;
    return answerer;
}

QWidget* ActiveWindow()
{
    return QApplication::instance() != nullptr ? QApplication::activeWindow() : nullptr;
}

const char* TypeCaption(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return nullptr;
}

std::string AppTitle()
{
    return Application != nullptr ? Application->Title() : std::string("hcapprox");
}

constexpr QChar ZeroWidthSpace(0x200B);

// The text as the box shows it: a word too long for a line (a long file name or path) may
// wrap between any two of its characters (zero-width spaces mark the places), so that the
// box keeps its usual width with the whole text and its buttons on the screen.
QString WrappableMessageText(const QString& Text)
{
    constexpr qsizetype LongWord = 40;
    QString out;
    qsizetype start = 0;
    while (start < Text.size()) {
        qsizetype end = start;
        while (end < Text.size() && !Text[end].isSpace())
            ++end;
        const QString word = Text.mid(start, end - start);
        if (word.size() <= LongWord) {
            out += word;
        } else {
            // Between whole characters only: a letter keeps its accents.
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word);
            qsizetype from = 0;
            for (qsizetype to = characters.toNextBoundary(); to > 0; to = characters.toNextBoundary()) {
                if (from > 0)
                    out += ZeroWidthSpace;
                out += word.mid(from, to - from);
                from = to;
            }
        }
        qsizetype next = end;
        while (next < Text.size() && Text[next].isSpace())
            ++next;
        out += Text.mid(end, next - end);
        start = next;
    }
    return out;
}

// The real message box: the toolkit's, with the request's icon and buttons.
int ShowMessageBox(TDialogRequest& r)
{
    if (QApplication::instance() == nullptr)
        return mrCancel;
    QMessageBox box(ActiveWindow());
    box.setWindowTitle(Q(r.Caption));
    box.setText(WrappableMessageText(Q(r.Text)));
    switch (r.Type) {
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    case mtCustom: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct B { TMsgDlgBtn Btn; QMessageBox::StandardButton Std; int Result; };
    static const B table[] = {
        {mbYes, QMessageBox::Yes, mrYes},           {mbNo, QMessageBox::No, mrNo},
        {mbOK, QMessageBox::Ok, mrOk},              {mbCancel, QMessageBox::Cancel, mrCancel},
        {mbAbort, QMessageBox::Abort, mrAbort},     {mbRetry, QMessageBox::Retry, mrRetry},
        {mbIgnore, QMessageBox::Ignore, mrIgnore},  {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
        {mbYesToAll, QMessageBox::YesToAll, mrYesToAll}, {mbHelp, QMessageBox::Help, mrNone},
    };
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const B& b : table)
        if (r.Buttons.Contains(b.Btn))
            buttons.emplace_back(box.addButton(b.Std), b.Result);
    if (r.Buttons.Contains(mbAll))
        buttons.emplace_back(box.addButton("&All", QMessageBox::AcceptRole), mrAll);
    if (buttons.empty())
        buttons.emplace_back(box.addButton(QMessageBox::Ok), mrOk);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [button, result] : buttons)
        if (button == clicked)
            return result;
    return r.Buttons.Contains(mbCancel) ? mrCancel : mrNone;
}

// An open dialog whose default extension only completes a typed name that names no
// file: a file without extension, or with another one, opens as typed.
//
// Enter in the name box opens what is typed (or refuses it as accept() does) whether or
// not the completion list is showing: that list appears when the folder's background
// listing arrives, sooner or later, and each state took the key its own way, so that the
// same typed name opened or did nothing by chance. Only a completion the user picked in
// the list is taken by Enter.
class TOpenFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString DefaultExt;

    int exec() override
    {
        if (auto* name = findChild<QLineEdit*>("fileNameEdit")) {
            FName = name;
            name->installEventFilter(this);
            if (QCompleter* completer = name->completer(); completer != nullptr && completer->popup() != nullptr)
                completer->popup()->installEventFilter(this);
        }
        return QFileDialog::exec();
    }

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        QAbstractItemView* list = FName != nullptr && FName->completer() != nullptr ? FName->completer()->popup() : nullptr;
        if (Event->type() == QEvent::KeyPress && FName != nullptr && (Watched == FName || Watched == list)) {
            const auto* key = static_cast<QKeyEvent*>(Event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const bool picked = list != nullptr && list->isVisible() && list->currentIndex().isValid();
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !picked) {
                if (list != nullptr)
                    list->hide();
                accept();
                return true;
            }
        }
        return QFileDialog::eventFilter(Watched, Event);
    }

    void accept() override
    {
        setDefaultSuffix(QString());
        const QStringList typed = selectedFiles();
        if (!DefaultExt.isEmpty() && typed.size() == 1) {
            const QFileInfo asTyped(typed.first());
            if (!asTyped.exists() && asTyped.suffix().isEmpty())
                setDefaultSuffix(DefaultExt);
        }
        QFileDialog::accept();
    }

private:
    QPointer<QLineEdit> FName;
};

// The real open dialog.
int ShowOpenDialog(TDialogRequest& r)
{
    if (QApplication::instance() == nullptr)
        return mrCancel;
    TOpenFileDialog dialog(ActiveWindow(), Q(r.Caption), Q(r.InitialDir));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const std::string filters = FilterToNameFilters(r.Filter);
    if (!filters.empty())
        dialog.setNameFilters(Q(filters).split(";;"));
    dialog.DefaultExt = Q(r.DefaultExt);
    if (!r.FileName.empty())
        dialog.selectFile(Q(r.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return mrCancel;
    r.FileName = S(dialog.selectedFiles().first());
    return mrOk;
}

// The description of a toolkit name filter: "Bitmaps (*.bmp)" gives "Bitmaps".
QString FilterDescription(const QString& NameFilter)
{
    const qsizetype open = NameFilter.lastIndexOf(" (");
    return (open >= 0 && NameFilter.endsWith(')') ? NameFilter.left(open) : NameFilter).trimmed();
}

// The 1-based entry of Names that the dialog reports as chosen: the dialog may answer the
// whole name filter or, with the patterns hidden, the text without its last pattern part
// (a description such as "Bitmaps (*.bmp)" keeps its own). 0 when none.
int ChosenFilterIndex(const QStringList& Names, const QString& Chosen)
{
    // Tried in turn over all entries: the whole name filter, the text without its last
    // pattern part, the descriptions alone.
    const auto matches = [&](int Pass, const QString& Name) {
        switch (Pass) {
        case 0: return Name == Chosen;
        case 1: return FilterDescription(Name) == Chosen.trimmed();
        default: return FilterDescription(Name) == FilterDescription(Chosen);
        }
    };
    for (int pass = 0; pass < 3; ++pass)
        for (qsizetype i = 0; i < Names.size(); ++i)
            if (matches(pass, Names[i]))
                return int(i) + 1;
    return 0;
}

// The extension that a name filter proposes: its first pattern's, when that names one
// ("*.bmp" gives "bmp"; "*.*" and "*" give none).
QString FilterSuffix(const QString& NameFilter)
{
    const qsizetype open = NameFilter.lastIndexOf('(');
    const QString patterns = open >= 0 ? NameFilter.mid(open + 1).chopped(1) : NameFilter;
    const QString first = patterns.section(' ', 0, 0, QString::SectionSkipEmpty);
    const QString suffix = first.startsWith("*.") ? first.mid(2) : QString();
    return suffix.contains('*') || suffix.contains('?') ? QString() : suffix;
}

int ShowSaveDialog(TDialogRequest& r)
{
    if (QApplication::instance() == nullptr)
        return mrCancel;
    QFileDialog dialog(ActiveWindow(), Q(r.Caption), Q(r.InitialDir));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const std::string filters = FilterToNameFilters(r.Filter);
    const QStringList names = Q(filters).split(";;", Qt::SkipEmptyParts);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        dialog.selectNameFilter(names.value(std::clamp(r.FilterIndex, 1, int(names.size())) - 1));
    }
    // The filter shown, and any the user chooses, brings its extension for a name typed
    // without one; a filter without one leaves the default extension.
    const auto followFilter = [&](const QString& Chosen) {
        const int index = ChosenFilterIndex(names, Chosen);
        const QString suffix = index > 0 ? FilterSuffix(names[index - 1]) : QString();
        dialog.setDefaultSuffix(suffix.isEmpty() ? Q(r.DefaultExt) : suffix);
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (!r.FileName.empty())
        dialog.selectFile(Q(r.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return mrCancel;
    r.FileName = S(dialog.selectedFiles().first());
    if (const int chosen = ChosenFilterIndex(names, dialog.selectedNameFilter()); chosen > 0)
        r.FilterIndex = chosen;
    return mrOk;
}

} // namespace

TDialogAnswerer SetDialogAnswerer(TDialogAnswerer NewAnswerer)
{
    return std::exchange(Answerer(), std::move(NewAnswerer));
}

int ExecuteDialogRequest(TDialogRequest& Request, const std::function<int(TDialogRequest&)>& ShowReal)
{
    // The window that was active before a dialog gets the keyboard back when the dialog
    // closes, its focus where it was: the toolkit's own dialogs leave no window active
    // where the window system does not hand the activation back by itself.
    std::function<int(TDialogRequest&)> show;
    if (ShowReal)
        show = [ShowReal](TDialogRequest& R) {
            const QPointer<QWidget> before = QApplication::activeWindow();
            const int result = ShowReal(R);
            if (before != nullptr && before->isVisible() && QApplication::activeWindow() != before)
                before->activateWindow();
            return result;
        };
    if (Answerer()) {
        Request.ShowReal = show;
        return Answerer()(Request);
    }
    return show ? show(Request) : mrCancel;
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    TDialogRequest r;
    r.Kind = TDialogKind::dkMessage;
    const char* caption = TypeCaption(DlgType);
    r.Caption = caption != nullptr ? caption : AppTitle();
    r.Text = Msg;
    r.Type = DlgType;
    r.Buttons = Buttons;
    r.HelpCtx = HelpCtx;
    return ExecuteDialogRequest(r, ShowMessageBox);
}

void ShowMessage(const std::string& Msg)
{
    TDialogRequest r;
    r.Kind = TDialogKind::dkMessage;
    r.Caption = AppTitle();
    r.Text = Msg;
    r.Type = mtCustom;
    r.Buttons = {mbOK};
    ExecuteDialogRequest(r, ShowMessageBox);
}

int MessageBoxRequest(const std::string& Text, const std::string& Caption, int Flags)
{
    TDialogRequest r;
    r.Kind = TDialogKind::dkMessage;
    r.Caption = Caption;
    r.Text = Text;
    switch (Flags & 0xF0) {
    case MB_ICONERROR: r.Type = mtError; break;
    case MB_ICONQUESTION: r.Type = mtConfirmation; break;
    case MB_ICONWARNING: r.Type = mtWarning; break;
    case MB_ICONINFORMATION: r.Type = mtInformation; break;
    default: r.Type = mtCustom; break;
    }
    switch (Flags & 0x0F) {
    case MB_OKCANCEL: r.Buttons = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: r.Buttons = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: r.Buttons = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: r.Buttons = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: r.Buttons = {mbRetry, mbCancel}; break;
    default: r.Buttons = {mbOK}; break;
    }
    return ExecuteDialogRequest(r, ShowMessageBox);
}

// ---- TOpenDialog ------------------------------------------------------------------

bool TOpenDialog::Execute()
{
    TDialogRequest r;
    r.Kind = TDialogKind::dkOpenFile;
    r.Caption = FTitle.empty() ? std::string("Open") : FTitle;
    r.FileName = FFileName;
    r.InitialDir = FInitialDir;
    r.Filter = FFilter;
    r.DefaultExt = FDefaultExt;
    if (ExecuteDialogRequest(r, ShowOpenDialog) != mrOk || r.FileName.empty())
        return false;
    FFileName = r.FileName;
    return true;
}

bool TSaveDialog::Execute()
{
    TDialogRequest r;
    r.Kind = TDialogKind::dkSaveFile;
    r.Caption = Title().empty() ? std::string("Save As") : Title();
    r.FileName = FileName();
    r.InitialDir = InitialDir();
    r.Filter = Filter();
    r.DefaultExt = DefaultExt();
    r.FilterIndex = FFilterIndex;
    if (ExecuteDialogRequest(r, ShowSaveDialog) != mrOk || r.FileName.empty())
        return false;
    SetFileName(r.FileName);
    if (r.FilterIndex >= 1)
        FFilterIndex = r.FilterIndex;
    return true;
}

std::string FilterToNameFilters(const std::string& Filter)
{
    // Pairs of description and patterns; "*.a;*.b" becomes "*.a *.b".
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        auto bar = Filter.find('|', start);
        parts.push_back(Filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::string result;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        if (patterns.empty())
            continue;
        if (!result.empty())
            result += ";;";
        result += parts[i] + " (" + patterns + ")";
    }
    return result;
}
