# Turns benchmark samples into a Markdown table (used by scripts/bench.sh).
# Input, in any order:
#   sample <metric> <round> <value>                  one measured figure
#   row|<label>|<metric>|<baseline or ->|<goal>|<unit>  one line of the table
# A goal is "ratio<=X" (metric ÷ baseline, paired by round), "<=X" (the
# metric's median) or "-" (reported only). Each figure is given as its median
# with the spread (lowest–highest) of its runs. Rows of benchmarks that did not
# run are left out.

function sort_values(a, n,    i, j, t) {
    for (i = 2; i <= n; i++) {
        t = a[i]
        for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]
        a[j + 1] = t
    }
}

function median(a, n) {
    return (n % 2) ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}

function fmt(x) {
    if (x >= 100) return sprintf("%.0f", x)
    if (x >= 10) return sprintf("%.1f", x)
    return sprintf("%.2f", x)
}

# "median unit (low–high, n=N)" of a metric's samples, or of its ratios to
# the baseline's samples of the same rounds; sets summary_median.
function summary(metric, baseline, unit,    r, n, a) {
    n = 0
    for (r = 1; r <= max_round; r++) {
        if (!((metric, r) in value)) continue
        if (baseline == "") {
            a[++n] = value[metric, r]
        } else if ((baseline, r) in value && value[baseline, r] > 0) {
            a[++n] = value[metric, r] / value[baseline, r]
        }
    }
    if (n == 0) {
        summary_median = ""
        return "not measured"
    }
    sort_values(a, n)
    summary_median = median(a, n)
    if (n == 1) return fmt(summary_median) unit
    return fmt(summary_median) unit " (" fmt(a[1]) "–" fmt(a[n]) ", n=" n ")"
}

$1 == "sample" {
    value[$2, $3 + 0] = $4 + 0
    if ($3 + 0 > max_round) max_round = $3 + 0
    next
}

/^row\|/ {
    rows[++row_count] = $0
    next
}

END {
    print "| Measure | Measured | Against | Ratio | Goal | Met |"
    print "|---|---|---|---|---|---|"
    for (i = 1; i <= row_count; i++) {
        split(rows[i], f, "|")
        label = f[2]; metric = f[3]; baseline = f[4]; goal = f[5]; unit = f[6]
        if (baseline == "-") baseline = ""
        measured = summary(metric, "", " " unit)
        measured_median = summary_median
        against = "–"; ratio = "–"; ratio_median = ""; against_median = ""
        if (baseline != "") {
            against = summary(baseline, "", " " unit)
            against_median = summary_median
            ratio = summary(metric, baseline, "×")
            ratio_median = summary_median
        }
        if (measured_median == "" && against_median == "") continue  # not run this time
        met = "–"; shown_goal = "–"
        if (goal ~ /^ratio<=/) {
            limit = substr(goal, 8) + 0
            shown_goal = "≤ " limit "×"
            if (ratio_median != "") met = (ratio_median <= limit) ? "yes" : "**no**"
        } else if (goal ~ /^<=/) {
            limit = substr(goal, 3) + 0
            shown_goal = "≤ " limit " " unit
            if (measured_median != "") met = (measured_median <= limit) ? "yes" : "**no**"
        }
        printf "| %s | %s | %s | %s | %s | %s |\n", label, measured, against, ratio, shown_goal, met
    }
}
