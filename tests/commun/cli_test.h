// horaku-cli run as a script runs it, with a chosen environment and working
// folder: its exit code and both outputs.
#pragma once

#include <QProcess>
#include <QStringList>

namespace horaku::test
{

struct ResultatCli {
    int code = -1; // -1: did not end normally within a minute
    QByteArray sortie, erreur;
};

inline ResultatCli
LancerCli(const QStringList& arguments,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
          const QString& dossier = QString())
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!dossier.isEmpty()) p.setWorkingDirectory(dossier);
    p.start(QStringLiteral(HORAKU_BIN "/horaku-cli"), arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace horaku::test
