#!/usr/bin/env python3
"""An independent MIDI parser (mido) agrees with corvanteller-cli write.

Usage: mido_agrees.py CORVANTELLER_CLI MIDI_FOLDER

Copies the MIDI files of MIDI_FOLDER under names with "kar", adds an ordinary and a Soft
Karaoke file that mido writes, writes new texts into each with corvanteller-cli, and checks:
a written file reads back as the texts and mido finds the same tracks and events in the same
order, apart from the text events; a refused file keeps its bytes; undo-write gives every file
back byte for byte.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import mido

TEXT_TYPES = {"text", "copyright", "track_name", "instrument_name", "lyrics", "marker",
              "cue_marker", "program_name", "device_name"}


def events(path):
    """Per track: the other events with their absolute times, and the text events' texts."""
    tracks = []
    for track in mido.MidiFile(path).tracks:
        time = 0
        others, texts = [], []
        for message in track:
            time += message.time
            if message.is_meta and message.type in TEXT_TYPES:
                texts.append(getattr(message, "text", getattr(message, "name", "")))
            else:
                others.append((time, sorted((key, repr(value)) for key, value in vars(message).items()
                                            if key != "time")))
        tracks.append((others, texts))
    return tracks


def make_files(folder):
    ordinary = mido.MidiFile(type=1)
    first = mido.MidiTrack([mido.MetaMessage("track_name", name="Old title"),
                            mido.MetaMessage("text", text="Old performer"),
                            mido.MetaMessage("set_tempo", tempo=500000)])
    notes = mido.MidiTrack([mido.MetaMessage("track_name", name="Piano"),
                            mido.Message("note_on", note=60, velocity=64, time=0),
                            mido.Message("note_off", note=60, velocity=0, time=480)])
    ordinary.tracks += [first, notes]
    ordinary.save(os.path.join(folder, "mido-ordinary.kar"))

    soft = mido.MidiFile(type=1)
    words = mido.MidiTrack([mido.MetaMessage("track_name", name="Words")] +
                           [mido.MetaMessage("text", text=line) for line in
                            ["@KMIDI KARAOKE FILE", "@TOld title", "@TOld singer", "@TOld maker",
                             "\\First line", "/second line", "@IInfo line"]])
    soft.tracks += [mido.MidiTrack([mido.MetaMessage("track_name", name="Soft Karaoke")]),
                    words, notes]
    soft.save(os.path.join(folder, "mido-soft.kar"))


def main():
    cli, midi_folder = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as home:
        folder = os.path.join(home, "songs")
        os.mkdir(folder)
        for name in sorted(os.listdir(midi_folder)):
            if name.endswith(".mid"):
                shutil.copy(os.path.join(midi_folder, name),
                            os.path.join(folder, name[:-4] + ".kar"))
        make_files(folder)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"))
        originals = {}
        written = 0
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                originals[path] = f.read()
            before = events(path)
            maker = "Soft Karaoke" if name == "mido-soft.kar" else "Made here"
            texts = ["Corrected Title", "Some Performer", "Words and Music", maker]
            run = subprocess.run([cli, "write", path] + texts, env=env, capture_output=True)
            if run.returncode == 1:
                with open(path, "rb") as f:
                    if f.read() != originals[path]:
                        failures.append(f"{name}: refused but changed")
                continue
            if run.returncode != 0:
                failures.append(f"{name}: exit {run.returncode}: {run.stderr!r}")
                continue
            written += 1
            read = subprocess.run([cli, "read", path], env=env, capture_output=True, text=True)
            if read.stdout.rstrip("\n").split("\t")[1:] != texts:
                failures.append(f"{name}: reads as {read.stdout!r}")
            after = events(path)
            if len(after) != len(before):
                failures.append(f"{name}: {len(before)} tracks became {len(after)}")
                continue
            for number, ((old_others, old_texts), (new_others, new_texts)) in enumerate(
                    zip(before, after)):
                if old_others != new_others:
                    failures.append(f"{name}: track {number}: other events differ")
                added = [t for t in new_texts if t not in old_texts]
                if any(not any(text in t for text in texts) for t in added if t != "@T"):
                    failures.append(f"{name}: track {number}: unexpected texts {added}")
                if len([t for t in old_texts if t not in new_texts]) > 4:
                    failures.append(f"{name}: track {number}: too many texts lost")
        if written < 15:
            failures.append(f"only {written} files written")
        # Undo the runs, newest first, until there is nothing left.
        for _ in range(written + 1):
            if subprocess.run([cli, "undo-write"], env=env, capture_output=True).returncode != 0:
                break
        for path, bytes_ in originals.items():
            with open(path, "rb") as f:
                if f.read() != bytes_:
                    failures.append(f"{os.path.basename(path)}: not given back by undo-write")
        print(f"{written} of {len(originals)} files written")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
