// Plays a building full of agents against one database server, to size the server.
//   bench-fleet AGENTS PER_PROCESS SERVER_PID
// Each agent opens its connection through the agent's own connection layer, with the agent's
// connection text and data source, and runs the statements of the agent's start-up; then all idle.
// One agent in ten then answers a cost-centre prompt at the same moment: the dispatcher's refresh of
// the cost-centre list, the update of the print job, the panel's refresh. The agents are spread over
// worker processes of PER_PROCESS connections each, as no one process holds thousands of sockets
// and driver handles comfortably. The workers connect side by side.
//
// The database must hold users "fleet<i>" (cod_usuario i) for i = 1..AGENTS, and print job i for user i.
// Prints "key value" lines: the server's resident memory (kB) and thread count before the agents
// came, with all of them idle, and after the burst; how many connected; the burst's time.
#include "AppError.h"
#include "Consultas.h"
#include "OdbcConnection.h"
#include "ParameterMarkers.h"

#include <QDate>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The agent's connection text, as it builds it for its data source and account.
const QString connectionText = QStringLiteral("Provider=MSDASQL.1;Password=mabel7;Persist Security "
                                              "Info=True;User ID=corvellane;Data Source=CorvelLane");

// The cost-centre list and the update the prompt sends, as the agent writes them.
const QString listaCentrosDeCusto =
    QStringLiteral("select * from centro_custo\r\norder by nome_centro_custo");
const QString atribuiCentroDeCusto =
    QStringLiteral("update impressoes set cod_centro_custo =:p1 \r\nwhere cod_impressoes = :p2 ");

QString positional(const QString& sql)
{
    return ParameterMarkers::scan(sql).positionalSql;
}

struct Agent {
    int user = 0;
    QString login;
    QString address;
    std::unique_ptr<OdbcConnection> connection;

    int value(const QString& sql, const QList<QVariant>& values)
    {
        const ResultSet rows = connection->query(positional(sql), values);
        return rows.isEmpty() ? 0 : rows.field(0).toInt();
    }

    void refreshPanel(const QString& month)
    {
        value(Consultas::PaginasImpressasNoMes, {month, user});
        value(Consultas::QuotaRestante, {user});
    }

    void registerInstance()
    {
        const bool exists = value(Consultas::InstanciasDoEndereco, {address}) > 0;
        connection->execute(positional(exists ? Consultas::AtualizaInstancia : Consultas::InsereInstancia),
                            {user, address}, OdbcConnection::Effect::Write);
    }

    // What the agent sends from its connection to its panel on screen.
    void startUp()
    {
        connection = std::make_unique<OdbcConnection>();
        connection->setConnectionString(connectionText);
        connection->open();
        connection->execute(QStringLiteral("USE CORVELLANE"), {}, OdbcConnection::Effect::Repeatable);
        const QString month = connection->query(Consultas::DataDoServidor, {})
                                  .field(0)
                                  .toDateTime()
                                  .toString(QStringLiteral("yyyy-MM"));
        value(Consultas::UsuarioPorLogin, {login});
        connection->query(positional(Consultas::TipoPolitica), {user});
        value(Consultas::QuotaPadrao, {user});
        registerInstance();
        value(Consultas::ContasDoUsuario, {user});
        value(Consultas::PoliticasDoGrupo, {user});
        value(Consultas::QuotaInfinita, {user});
        registerInstance();
        refreshPanel(month);
    }

    // One cost-centre prompt answered; returns its time in microseconds.
    long long answerPrompt(int costCentre)
    {
        const auto start = Clock::now();
        connection->query(listaCentrosDeCusto, {});
        connection->execute(positional(atribuiCentroDeCusto), {costCentre, user},
                            OdbcConnection::Effect::Write);
        const QString month = QDate::currentDate().toString(QStringLiteral("yyyy-MM"));
        refreshPanel(month);
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    }
};

bool inBurst(int user)
{
    return user % 10 == 0;
}

// The worker: agents first..last; talks with the driver over two pipes.
[[noreturn]] void work(int first, int last, FILE* commands, FILE* reports)
{
    std::vector<Agent> agents;
    int failed = 0;
    for (int user = first; user <= last; ++user) {
        Agent agent;
        agent.user = user;
        agent.login = QStringLiteral("fleet%1").arg(user);
        agent.address = QStringLiteral("10.%1.%2.%3").arg(user >> 16).arg((user >> 8) & 255).arg(user & 255);
        try {
            agent.startUp();
            agents.push_back(std::move(agent));
        } catch (const AppError& error) {
            if (failed++ == 0)
                std::fprintf(stderr, "bench-fleet: agent %d: %s\n", user, qPrintable(error.message()));
        }
    }
    std::fprintf(reports, "ready %zu %d\n", agents.size(), failed);
    std::fflush(reports);

    if (std::fgetc(commands) == 'b') {
        std::vector<long long> times(agents.size(), -1);
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < agents.size(); ++i) {
            if (!inBurst(agents[i].user))
                continue;
            threads.emplace_back([&agents, &times, i] {
                try {
                    times[i] = agents[i].answerPrompt(1 + agents[i].user % 20);
                } catch (const AppError& error) {
                    std::fprintf(stderr, "bench-fleet: burst: %s\n", qPrintable(error.message()));
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        std::fprintf(reports, "done");
        for (long long time : times)
            if (time >= 0)
                std::fprintf(reports, " %lld", time);
        std::fprintf(reports, "\n");
        std::fflush(reports);
        std::fgetc(commands); // the driver's word to end
    }
    agents.clear();
    std::exit(0);
}

struct Worker {
    pid_t pid = 0;
    FILE* commands = nullptr;
    FILE* reports = nullptr;
};

Worker spawn(int first, int last)
{
    int down[2];
    int up[2];
    if (pipe(down) != 0 || pipe(up) != 0) {
        std::perror("bench-fleet: pipe");
        std::exit(1);
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("bench-fleet: fork");
        std::exit(1);
    }
    if (pid == 0) {
        close(down[1]);
        close(up[0]);
        work(first, last, fdopen(down[0], "r"), fdopen(up[1], "w"));
    }
    close(down[0]);
    close(up[1]);
    return {pid, fdopen(down[1], "w"), fdopen(up[0], "r")};
}

std::string readLine(FILE* file)
{
    std::string line;
    for (int c = std::fgetc(file); c != EOF && c != '\n'; c = std::fgetc(file))
        line.push_back(static_cast<char>(c));
    return line;
}

long statusField(pid_t server, const std::string& key)
{
    std::ifstream status("/proc/" + std::to_string(server) + "/status");
    std::string name;
    long value = -1;
    while (status >> name) {
        if (name == key + ":") {
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return value;
}

void printServer(pid_t server, const char* moment)
{
    std::printf("%s_rss_kb %ld\n%s_threads %ld\n", moment, statusField(server, "VmRSS"), moment,
                statusField(server, "Threads"));
}

double millis(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench-fleet AGENTS PER_PROCESS SERVER_PID\n");
        return 2;
    }
    const int agents = std::atoi(argv[1]);
    const int perProcess = std::max(1, std::atoi(argv[2]));
    const pid_t server = std::atoi(argv[3]);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    printServer(server, "before");
    const auto connectStart = Clock::now();
    std::vector<Worker> workers;
    for (int first = 1; first <= agents; first += perProcess)
        workers.push_back(spawn(first, std::min(agents, first + perProcess - 1)));
    long held = 0;
    long failed = 0;
    for (Worker& worker : workers) {
        std::istringstream ready(readLine(worker.reports));
        std::string word;
        long count = 0;
        long failures = 0;
        ready >> word >> count >> failures;
        held += count;
        failed += failures;
    }
    std::printf("agents %d\nworkers %zu\nheld %ld\nfailed %ld\nconnect_ms %.0f\n", agents, workers.size(),
                held, failed, millis(Clock::now() - connectStart));
    // Let the server's threads settle into idling before it is weighed.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    printServer(server, "idle");

    const auto burstStart = Clock::now();
    for (Worker& worker : workers) {
        std::fputc('b', worker.commands);
        std::fflush(worker.commands);
    }
    std::vector<long long> times;
    for (Worker& worker : workers) {
        std::istringstream done(readLine(worker.reports));
        std::string word;
        done >> word;
        for (long long time; done >> time;)
            times.push_back(time);
    }
    const double burst = millis(Clock::now() - burstStart);
    std::sort(times.begin(), times.end());
    const auto at = [&times](double share) {
        return times.empty() ? 0.0 : times[static_cast<std::size_t>(share * (times.size() - 1))] / 1000.0;
    };
    std::printf("burst_agents %zu\nburst_ms %.0f\nprompt_median_ms %.1f\nprompt_max_ms %.1f\n", times.size(),
                burst, at(0.5), at(1.0));
    printServer(server, "after");

    for (Worker& worker : workers) {
        std::fputc('q', worker.commands);
        std::fclose(worker.commands);
    }
    for (Worker& worker : workers)
        waitpid(worker.pid, nullptr, 0);
    return 0;
}
