#pragma once

// Data and figures shared by the benchmarks.
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace BenchData {

// Titles as people save them: mixed case, accents, words and numbers, some alike.
inline QString title(QRandomGenerator& rng)
{
    static const QStringList first{"Notícias",
                                   "banco",
                                   "Receitas da Vovó",
                                   "Fórum",
                                   "clube",
                                   "Jornal",
                                   "Previsão do tempo",
                                   "música",
                                   "Álbum de fotos",
                                   "Éxitos",
                                   "loja",
                                   "Universidade",
                                   "portal",
                                   "Câmara",
                                   "prefeitura",
                                   "Blog",
                                   "Rádio",
                                   "ônibus",
                                   "Horários",
                                   "Óculos",
                                   "açúcar",
                                   "Zebra Filmes",
                                   "YouTube",
                                   "wikipédia",
                                   "Correios",
                                   "receita federal",
                                   "Ímã"};
    static const QStringList second{
        "de São Paulo", "online", "do Brasil", "- página inicial", "BR",
        "ao vivo",      "e cia.", "(oficial)", "para crianças",    "Ltda",
        "de Belém",     "2024",   "rede",      "do João"};
    return first[rng.bounded(first.size())] + ' ' + second[rng.bounded(second.size())] + ' ' +
           QString::number(rng.bounded(1000));
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The value below which the given share of the samples lies (0.99: the 99th percentile).
inline double percentile(std::vector<double> v, double share)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(share * double(v.size())))];
}

} // namespace BenchData
