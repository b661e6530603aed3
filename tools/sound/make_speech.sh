#!/usr/bin/env bash
# Speaks the words of spoken moves into one speech folder: the 64 square names (A8.WAV ... H1.WAV),
# the connecting word (NACH.WAV) and a greeting (WELCOME.WAV), with espeak-ng, then trims the
# silence around each word, normalises it and fades its ends with sox.
# Usage: make_speech.sh <german|english> <output folder>
set -euo pipefail

language="$1"
out="$2"
mkdir -p "$out"

case "$language" in
  german)
    voice=de
    # German letter names are what espeak-ng says for a lone capital letter.
    letters=(A B C D E F G H)
    connector="nach"
    greeting="Willkommen bei Tessaron."
    ;;
  english)
    voice=en
    # A lone "A" is read as the article and some letters run into the number; phonemes say the
    # letter's name.
    letters=("[['eI]]" "[[b'i:]]" "[[s'i:]]" "[[d'i:]]" "[['i:]]" "[['Ef]]" "[[dZ'i:]]" "[['eItS]]")
    connector="to"
    greeting="Welcome to Tessaron."
    ;;
  *)
    echo "make_speech.sh: unknown language '$language'" >&2
    exit 1
    ;;
esac

words_per_minute=150 # a little slower than talk: a square name is two separate words
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# speak <text> <file>: the comma between letter and number gives the short pause of "E ... 4".
speak() {
  espeak-ng -v "$voice" -s "$words_per_minute" -w "$tmp/raw.wav" "$1"
  # Trim leading and trailing silence (below 0.5 % for 10 ms), -1 dBFS peak, 5 ms fades at both ends.
  sox "$tmp/raw.wav" -r 22050 -c 1 -b 16 "$2" \
    silence 1 0.01 0.5% reverse silence 1 0.01 0.5% fade t 0.005 reverse fade t 0.005 norm -1
}

files="ABCDEFGH"
for rank in 8 7 6 5 4 3 2 1; do
  for file in 0 1 2 3 4 5 6 7; do
    speak "${letters[$file]}, $rank" "$out/${files:$file:1}$rank.WAV"
  done
done
speak "$connector" "$out/NACH.WAV"
speak "$greeting" "$out/WELCOME.WAV"
