# Log-log plot of wall-clock time against the number of Cards; reads data
# (written by performance-report.awk) and writes output.
set terminal svg size 960,600 dynamic font "sans,12" background "white"
set output output
set logscale xy
set xrange [700:1.4e6]
set format x "10^{%T}"
set format y "10^{%T}"
set xlabel "Cards"
set ylabel "seconds (wall clock)"
set key outside right top
set grid
set datafile separator "\t"
set datafile missing "?"
plot data using 1:2 with linespoints lw 2 lc rgb "#1f77b4" pt 7 title "start-up", \
     data using 1:3 with linespoints lw 2 lc rgb "#2ca02c" pt 5 title "close", \
     data using 1:4 with linespoints lw 2 lc rgb "#d62728" pt 9 title "header click", \
     data using 1:5 with linespoints lw 2 lc rgb "#9467bd" pt 11 title "Add", \
     data using 1:6 with linespoints lw 2 lc rgb "#8c564b" pt 13 title "Catalogue", \
     data using 1:7 with linespoints lw 2 lc rgb "#e377c2" pt 15 title "List", \
     data using 1:8 with linespoints lw 1 dt 2 lc rgb "#555555" pt 6 title "fread floor", \
     data using 1:9 with linespoints lw 1 dt 2 lc rgb "#999999" pt 4 title "fwrite+fsync floor", \
     data using 1:10 with linespoints lw 2 lc rgb "#ff7f0e" pt 8 title "plain sort", \
     data using 1:11 with lines dt 3 lw 2 lc rgb "#ff7f0e" title "plain sort, est.", \
     data using 1:12 with linespoints lw 2 lc rgb "#17becf" pt 10 title "plain load", \
     data using 1:13 with lines dt 3 lw 2 lc rgb "#17becf" title "plain load, est.", \
     data using 1:14 with linespoints lw 2 lc rgb "#bcbd22" pt 12 title "plain Catalogue", \
     data using 1:15 with lines dt 3 lw 2 lc rgb "#bcbd22" title "plain Catalogue, est."
