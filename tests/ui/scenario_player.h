#pragma once
// Plays a user's scenario on the real windows and writes down what the user sees.
#include "tests/support.h"
#include "ui/frmSulfite.h"
#include "ui/modProc.h"

#include <memory>
#include <QImage>
#include <QMap>
#include <QPointer>

// A scenario as its file gives it: "== name", then "key: value" lines saying how the program
// is started, then one step a line. '#' starts a comment line.
struct Scenario
{
    QString name;
    QMap<QString, QString> start;
    QStringList steps;
};
Q_DECLARE_METATYPE(Scenario)

QList<Scenario> ReadScenarios(const QString& text);
// A scenario's name as a file name: "Free target, grams" -> "free-target-grams".
QString Slug(const QString& name);

class ScenarioPlayer : public QObject
{
    Q_OBJECT

public:
    explicit ScenarioPlayer(const QString& home);
    ~ScenarioPlayer() override;

    // Plays the scenario; returns its transcript: each step, then what it brought about.
    QString Play(const Scenario& scenario);
    // The pictures the scenario took, by window name.
    const QList<std::pair<QString, QImage>>& Pictures() const { return Taken; }

public slots:
    void open(const QUrl& address) { Opened << address.toString(); }

private:
    void Start();
    void StartProgram();
    void RunSteps(const QPointer<QWidget>& until);
    void RunStep(const QString& step);
    void Do(const QString& verb, const QStringList& words, const QString& step);
    void Note(const QString& line) { Transcript += QStringLiteral("  ") + line + u'\n'; }
    void NoteEffects();
    modProc::Answer AnswerBoxFor(const modProc::MessageRequest& request);
    void AnswerBox(const QStringList& keys);

    QWidget* Find(const QString& name) const;
    QList<QWidget*> Windows() const;
    QString Show(const QStringList& only) const;
    QString Describe(const QStringList& only) const;
    QMap<QString, QByteArray> Files() const;

    Scenario Played;
    QString Transcript;
    QString Home;
    std::unique_ptr<QTemporaryDir> Program, Elsewhere, Runtime, Bin;
    QString DataPath;
    std::unique_ptr<ardovin::SingleInstanceLock> OtherCopy;
    std::unique_ptr<frmSulfite> Main;
    qsizetype Next = 0;
    QList<QStringList> Answers; // keys for the boxes to come, one list a box
    QStringList Opened;
    QString Clipboard;
    QMap<QString, QByteArray> Written;
    QStringList CellarFiles;
    QString LockFile, CellarFile;
    // Another client's open transaction on the shared cellar, holding its entries.
    bool Holding = false;
    QList<std::pair<QString, QImage>> Taken;
    bool BoxShown = false;
    modProc::MessageHandler Previous;
    QPalette Scheme;
    QByteArray Path;
};
