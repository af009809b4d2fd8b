// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/classics/coupletgroups.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace builddb {

namespace {

using Vector = std::vector<std::pair<int, float>>; // sparse: feature, weight

constexpr int kSeedCandidates = 1000;
constexpr int kRounds = 10;

float dot(const Vector &v, const float *centroid)
{
    float sum = 0;
    for (const auto &[f, w] : v)
        sum += w * centroid[f];
    return sum;
}

float dot(const Vector &a, const Vector &b)
{
    // Both sorted by feature.
    float sum = 0;
    auto i = a.begin(), j = b.begin();
    while (i != a.end() && j != b.end()) {
        if (i->first < j->first)
            ++i;
        else if (j->first < i->first)
            ++j;
        else
            sum += (i++)->second * (j++)->second;
    }
    return sum;
}

void normalise(float *values, qsizetype n)
{
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i)
        sum += double(values[i]) * values[i];
    if (sum <= 0)
        return;
    const float scale = float(1 / std::sqrt(sum));
    for (qsizetype i = 0; i < n; ++i)
        values[i] *= scale;
}

} // namespace

int groupUnits(PairTable &t, int length, int k, int minCount, int firstGroup)
{
    const auto lengthOf = [&](int unit) { return t.units.at(unit).text.toUcs4().size(); };
    QList<int> members;
    double total = 0; // unit counts of this length: the expected count of a pair
    for (int i = 0; i < t.units.size(); ++i) {
        if (lengthOf(i) != length)
            continue;
        total += t.units.at(i).count;
        if (t.units.at(i).count >= minCount)
            members.append(i);
    }
    std::sort(members.begin(), members.end(), [&](int a, int b) {
        const PairTable::Unit &x = t.units.at(a), &y = t.units.at(b);
        return x.count != y.count ? x.count > y.count : x.text < y.text;
    });
    QHash<int, int> memberOf;
    for (int m = 0; m < members.size(); ++m)
        memberOf.insert(members.at(m), m);

    // Each member's partners, weighted by positive PMI; a word's partners character by character too.
    QHash<qint64, int> features;
    const auto feature = [&](qint64 key) {
        return features.insert(key, features.value(key, int(features.size()))).value();
    };
    std::vector<QHash<int, float>> sparse(members.size());
    for (const PairTable::Pair &p : t.pairs) {
        const int m = memberOf.value(p.a, -1);
        if (m < 0)
            continue;
        const double pmi =
            std::log(p.count * total / (double(t.units.at(p.a).count) * t.units.at(p.b).count));
        if (pmi <= 0)
            continue;
        sparse[m][feature(p.b)] += float(pmi);
        if (length > 1) {
            const QList<uint> chars = t.units.at(p.b).text.toUcs4();
            for (qsizetype i = 0; i < chars.size(); ++i)
                sparse[m][feature((qint64(1) << 40) | (qint64(i) << 32) | chars.at(i))] += float(pmi / 2);
        }
    }
    std::vector<Vector> vectors(members.size());
    QList<int> placed; // members with a partner to go by, most frequent first
    for (int m = 0; m < members.size(); ++m) {
        Vector &v = vectors[m];
        for (auto it = sparse[m].constBegin(); it != sparse[m].constEnd(); ++it)
            v.emplace_back(it.key(), it.value());
        std::sort(v.begin(), v.end());
        std::vector<float> weights;
        for (const auto &fw : v)
            weights.push_back(fw.second);
        normalise(weights.data(), qsizetype(weights.size()));
        for (size_t i = 0; i < v.size(); ++i)
            v[i].second = weights[i];
        if (!v.empty())
            placed.append(m);
    }
    k = std::min<int>(k, int(placed.size()));
    if (k == 0)
        return 0;

    // Seeds: the most frequent, then each time the candidate least like every seed so far.
    const qsizetype candidates = std::min<qsizetype>(kSeedCandidates, placed.size());
    QList<int> seeds = {placed.first()};
    std::vector<float> closest(candidates);
    for (qsizetype c = 0; c < candidates; ++c)
        closest[c] = dot(vectors[placed.at(c)], vectors[seeds.first()]);
    while (seeds.size() < k) {
        const qsizetype next = std::min_element(closest.begin(), closest.end()) - closest.begin();
        seeds.append(placed.at(next));
        for (qsizetype c = 0; c < candidates; ++c)
            closest[c] = std::max(closest[c], dot(vectors[placed.at(c)], vectors[seeds.last()]));
    }
    const qsizetype width = features.size();
    std::vector<float> centroids(size_t(k * width), 0.f);
    for (int g = 0; g < k; ++g)
        for (const auto &[f, w] : vectors[seeds.at(g)])
            centroids[size_t(g * width + f)] = w;

    std::vector<int> groupOf(members.size(), -1);
    for (int round = 0; round < kRounds; ++round) {
        bool changed = false;
        for (int m : placed) {
            int best = 0;
            float bestDot = -1;
            for (int g = 0; g < k; ++g) {
                const float d = dot(vectors[m], centroids.data() + g * width);
                if (d > bestDot)
                    best = g, bestDot = d;
            }
            changed = changed || groupOf[m] != best;
            groupOf[m] = best;
        }
        if (!changed)
            break;
        std::vector<float> sums(centroids.size(), 0.f);
        std::vector<int> sizes(k, 0);
        for (int m : placed) {
            ++sizes[groupOf[m]];
            for (const auto &[f, w] : vectors[m])
                sums[size_t(groupOf[m] * width + f)] += w;
        }
        for (int g = 0; g < k; ++g) {
            if (sizes[g] == 0)
                continue; // an empty group keeps its centre
            normalise(sums.data() + g * width, width);
            std::copy(sums.begin() + g * width, sums.begin() + (g + 1) * width,
                      centroids.begin() + g * width);
        }
    }
    for (int m : placed)
        t.units[members.at(m)].group = firstGroup + groupOf[m];
    return k;
}

QList<PairTable::GroupPair> pairGroups(const PairTable &t)
{
    QHash<quint64, double> observed;
    QHash<int, double> margin;
    QHash<qsizetype, double> total; // by length: the groups of each length are counted apart
    for (const PairTable::Pair &p : t.pairs) {
        const PairTable::Unit &a = t.units.at(p.a), &b = t.units.at(p.b);
        if (a.group <= 0 || b.group <= 0)
            continue;
        observed[(quint64(quint32(a.group)) << 32) | quint32(b.group)] += p.count;
        margin[a.group] += p.count;
        total[a.text.toUcs4().size()] += p.count;
    }
    QHash<int, qsizetype> lengthOf;
    for (const PairTable::Unit &u : t.units)
        if (u.group > 0)
            lengthOf.insert(u.group, u.text.toUcs4().size());
    QList<PairTable::GroupPair> out;
    for (auto it = observed.constBegin(); it != observed.constEnd(); ++it) {
        const int a = int(it.key() >> 32), b = int(it.key() & 0xffffffffu);
        const double expected = margin.value(a) * margin.value(b) / total.value(lengthOf.value(a));
        out.append({a, b, int(std::lround(100.0 * std::log(it.value() / expected)))});
    }
    std::sort(out.begin(), out.end(), [](const PairTable::GroupPair &x, const PairTable::GroupPair &y) {
        return std::pair(x.a, x.b) < std::pair(y.a, y.b);
    });
    return out;
}

} // namespace builddb
