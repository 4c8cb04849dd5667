// The command-line tool run as the user runs it, for the tests that drive
// horaku-cli: its exit code and both outputs, with a chosen environment and
// working folder.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace horaku::test
{

struct ResultatCli {
    int code = -1; // -1: did not end normally within a minute
    QByteArray sortie;
    QByteArray erreur;
};

inline ResultatCli
LancerCli(const QStringList& arguments,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
          const QString& dossier = QString())
{
    ResultatCli r;
    QProcess p;
    p.setProcessEnvironment(env);
    if (!dossier.isEmpty()) p.setWorkingDirectory(dossier);
    p.start(QStringLiteral(HORAKU_BIN "/horaku-cli"), arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.code = p.exitCode();
    r.sortie = p.readAllStandardOutput();
    r.erreur = p.readAllStandardError();
    return r;
}

} // namespace horaku::test
